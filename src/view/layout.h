// Geometry of the view canvas: where the histogram, the handles and the
// colour bar sit, and how data values and colour indices become columns.
//
// Records: ViewLayout, CanvasPoint
// Routines: MakeLayout, ValueColumn, IndexColumn, TruncToInt, ClientToCanvas,
// BinAtColumn, ColumnOfBin
#pragma once

#include <cstdint>

class CColorDlgBase;
class CPoint;

namespace view {

// Rows count upward from the bottom of the canvas. From the bottom: row 0
// empty, the colour bar on rows 1 to 13, the index handles on indexRow, the
// threshold handles on thresholdRow, the histogram from the baseline up to
// baseline + histHeight.
struct ViewLayout {
    int margin;        // on each side of the histogram
    int columns;       // histogram columns; column i is canvas column margin + i
    int baseline;      // histogram baseline row
    int histHeight;    // its top row is baseline + histHeight
    int thresholdRow;  // row of the threshold handles
    int indexRow;      // row of the index handles
    int maxIndex;      // highest colour index
    double dataMin;    // data value at column margin
    double dataMax;    // data value at column margin + columns - 1
    double range;      // data range as it is, zero or negative included; infinite beyond DBL_MAX
    double divisor;    // range, or 1e-7 for an empty range: the scale of positions
};

inline constexpr int kColorBarBottom = 1;
inline constexpr int kColorBarTop = 13;

// Sizes and the margin are taken as at least 0 and at most 2^24, which keeps
// every layout quantity far inside int.
ViewLayout MakeLayout(const CColorDlgBase& dlg);

// Truncates toward zero; NaN gives 0 and magnitudes beyond 2^30 saturate, so
// that a column can be offset by a layout quantity without overflow.
int TruncToInt(double v);

// X(v): column of data value v; columns - 1 pixels span the data range.
int ValueColumn(const ViewLayout& l, double v);

// Xi(k): column of colour index k; columns - 1 pixels span indices 0 to
// maxIndex. With no index range (maxIndex < 1) every index sits at the first
// column.
int IndexColumn(const ViewLayout& l, int64_t k);

// A client point in canvas coordinates: x from the canvas's left column, y
// from its bottom row upward; `inside` tells whether it falls on the canvas.
struct CanvasPoint {
    int64_t x, y;
    bool inside;
};
CanvasPoint ClientToCanvas(const CColorDlgBase& dlg, const CPoint& client);

// The bin shown at histogram column i (0 <= i < columns): the bins spread
// over the columns - 1 steps, a single column shows bin 0.
int BinAtColumn(const ViewLayout& l, int64_t i, int bins);

// The histogram column that marks `bin`; a bin outside the histogram is
// marked at the nearer end, and with fewer than two bins every bin sits at
// column 0.
int64_t ColumnOfBin(const ViewLayout& l, int64_t bin, int bins);

}  // namespace view
