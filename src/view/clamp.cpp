// Clamping of the thresholds and the colour indices.
#include <cstdint>

#include "../dialog/color_dlg.h"
#include "../common/range_math.h"
#include "view_steps.h"

namespace view {

namespace {

// m / w of the range; a canvas no wider than the margin has no room for a
// gap smaller than the whole range, and the gap is capped there.
double ThresholdGap(const CColorDlgBase& dlg, const ViewLayout& l) {
    const double lo = dlg.m_dDataMin, hi = dlg.m_dDataMax;
    if (l.w <= l.m) return RangePart(lo, hi, 1, 1);
    return RangePart(lo, hi, l.m, static_cast<double>(l.w));
}

// N * m / (w - 1), capped at N so that both index bands stay inside the
// table; the cap also covers canvases without two columns.
int IndexGap(const ViewLayout& l) {
    if (l.n < 1) return 0;
    if (l.w - 1 <= l.m) return l.n;
    return static_cast<int>(int64_t{l.n} * l.m / (l.w - 1));
}

}  // namespace

void ClampThresholds(CColorDlgBase& dlg, const ViewLayout& l) {
    dlg.m_dMinGapThr = ThresholdGap(dlg, l);
    dlg.KeepThresholdsInBands();
}

void ClampIndices(CColorDlgBase& dlg, const ViewLayout& l) {
    dlg.m_nMinGapIndex = IndexGap(l);
    const int n = l.n;
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
