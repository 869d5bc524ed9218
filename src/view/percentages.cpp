// The thresholds as percentages of the data range.
#include <cmath>

#include "../dialog/color_dlg.h"
#include "view_steps.h"

namespace view {

namespace {

// A percentage that is no finite number (an empty or unbounded range) keeps
// its last value: with an empty range every percentage names the same value.
void SetPercent(double& pct, double thr, const ViewLayout& l) {
    if (l.range == 0.0) return;
    const double v = (thr - l.dataMin) * 100 / l.range;
    if (std::isfinite(v)) pct = v;
}

}  // namespace

void UpdatePercentages(CColorDlgBase& dlg, const ViewLayout& l) {
    SetPercent(dlg.m_dMaxPct, dlg.m_dMaxThr, l);
    SetPercent(dlg.m_dMinPct, dlg.m_dMinThr, l);
}

}  // namespace view
