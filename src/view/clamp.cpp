// Clamping of the thresholds and the colour indices.
#include <cstdint>

#include "../common/range_math.h"
#include "../dialog/color_dlg.h"
#include "view_steps.h"

namespace view {

namespace {

// margin / columns of the range; a canvas no wider than the margin has no
// room for a gap smaller than the whole range, and the gap is capped there.
double ThresholdGap(const CColorDlgBase& dlg, const ViewLayout& l) {
    const double lo = dlg.m_dDataMin, hi = dlg.m_dDataMax;
    if (l.columns <= l.margin) return RangePart(lo, hi, 1, 1);
    return RangePart(lo, hi, l.margin, static_cast<double>(l.columns));
}

// maxIndex * margin / (columns - 1), capped at maxIndex so that both index
// bands stay inside the table; the cap also covers canvases without two
// columns.
int IndexGap(const ViewLayout& l) {
    if (l.maxIndex < 1) return 0;
    if (l.columns - 1 <= l.margin) return l.maxIndex;
    return static_cast<int>(int64_t{l.maxIndex} * l.margin / (l.columns - 1));
}

}  // namespace

void ClampThresholds(CColorDlgBase& dlg, const ViewLayout& l) {
    dlg.m_dMinGapThr = ThresholdGap(dlg, l);
    dlg.KeepThresholdsInBands();
}

void ClampIndices(CColorDlgBase& dlg, const ViewLayout& l) {
    dlg.m_nMinGapIndex = IndexGap(l);
    const int n = l.maxIndex;
    const int gap = dlg.m_nMinGapIndex;
    if (dlg.m_nHighIndex > n) {
        dlg.m_nHighIndex = n;
    } else if (dlg.m_nHighIndex < gap) {
        dlg.m_nHighIndex = gap;
    }
    if (dlg.m_nLowIndex < 0) {
        dlg.m_nLowIndex = 0;
    } else if (dlg.m_nLowIndex > n - gap) {
        dlg.m_nLowIndex = n - gap;
    }
}

}  // namespace view
