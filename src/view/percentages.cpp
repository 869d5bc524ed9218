// The thresholds as percentages of the data range.
#include <cmath>

#include "../dialog/color_dlg.h"
#include "view_steps.h"

namespace view {

// A percentage that is no finite number keeps its last value.
void UpdatePercentages(CColorDlgBase& dlg, const ViewLayout& /*l*/) {
    const double maxPct = dlg.m_dMaxPct, minPct = dlg.m_dMinPct;
    dlg.PercentagesFromThresholds();
    if (!std::isfinite(dlg.m_dMaxPct)) dlg.m_dMaxPct = maxPct;
    if (!std::isfinite(dlg.m_dMinPct)) dlg.m_dMinPct = minPct;
}

}  // namespace view
