// Histogram bars and the colour bar, one pass over the histogram columns.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "../dialog/color_dlg.h"
#include "view_steps.h"

namespace view {

namespace {

struct Rgb {
    unsigned char r, g, b;
};

// Entries hold blue in the lowest byte, then green and red; alpha is not drawn.
Rgb EntryColor(const unsigned int* table, int64_t k) {
    const unsigned int e = table[k];
    return {static_cast<unsigned char>(e >> 16), static_cast<unsigned char>(e >> 8),
            static_cast<unsigned char>(e)};
}

// Colour index of histogram column i: the lower index up to the lower
// threshold's column, the upper index from the upper threshold's column on,
// a linear ramp between them. The ramp never leaves the two indices, and the
// clamps keep both inside the table.
struct ColorMapping {
    int64_t t0, t1;
    int64_t low, high;

    int64_t IndexAt(int64_t i) const {
        if (i <= t0) return low;
        if (i >= t1) return high;
        return low + (high - low) * (i - t0) / (t1 - t0);
    }
};

// Bars of negative counts (which no histogram source produces) are empty, and
// a count above the peak, possible while a stale peak is cached, stops at the
// top of the histogram.
int BarHeight(int32_t count, double factor, bool logScale, int maxHeight) {
    const double c = count;
    const double h = (logScale ? std::log(c + 1) : c) * factor;
    if (!(h > 0)) return 0;
    if (h >= maxHeight) return maxHeight;
    return static_cast<int>(h);
}

// Pixels per count (per log count on the log scale). A histogram without a
// positive count has no scale: every bar is then empty, a dot on the baseline.
double ScaleFactor(int peak, bool logScale, int histHeight) {
    if (peak <= 0) return 0.0;
    const double p = peak;
    return logScale ? histHeight / std::log(p + 1) : histHeight / p;
}

}  // namespace

// Without a colour table there is nothing to colour with and nothing is drawn;
// without counts (no histogram was ever built) only the colour bar is drawn.
void DrawColumns(CColorDlgBase& dlg, const ViewLayout& l) {
    const unsigned int* table = dlg.m_param.pColorTab;
    if (!table || l.maxIndex < 0 || l.columns < 1) return;
    const int32_t* counts = dlg.m_nBins >= 1 ? dlg.m_pHistogram : nullptr;
    const bool logScale = dlg.m_bLogScale == 1;
    const double factor = ScaleFactor(dlg.m_nHistScale, logScale, l.histHeight);
    const int maxHeight = std::max(l.histHeight, 0);
    const ColorMapping map{ValueColumn(l, dlg.m_dMinThr) - l.margin, ValueColumn(l, dlg.m_dMaxThr) - l.margin,
                           dlg.m_nLowIndex, dlg.m_nHighIndex};
    const int64_t span = std::max(l.columns - 1, 1);  // a single column shows entry 0
    CDIB& dib = dlg.m_dib;

    for (int i = 0; i < l.columns; ++i) {
        const int x = l.margin + i;
        if (counts) {
            const int h = BarHeight(counts[BinAtColumn(l, i, dlg.m_nBins)], factor, logScale, maxHeight);
            const Rgb c = EntryColor(table, map.IndexAt(i));
            dib.Line(x, l.baseline, x, l.baseline + h, c.r, c.g, c.b);
        }
        const Rgb c = EntryColor(table, i * int64_t{l.maxIndex} / span);
        dib.Line(x, kColorBarBottom, x, kColorBarTop, c.r, c.g, c.b);
    }
}

}  // namespace view
