// The mouse wheel steps the threshold whose edit has the keyboard focus.
#include "../common/range_math.h"
#include "../dialog/color_dlg.h"

namespace {

// The percent form of the bands: each percentage inside its own band of
// 0 ... 100, the percent gap short of the far end.
void KeepPercentagesInBands(CColorDlgBase& d) {
    if (d.m_dMaxPct >= 100) {
        d.m_dMaxPct = 100;
    } else if (d.m_dMinGapPct > d.m_dMaxPct) {
        d.m_dMaxPct = d.m_dMinGapPct;
    }
    if (d.m_dMinPct < 0) {
        d.m_dMinPct = 0;
    } else if (d.m_dMinPct > 100 - d.m_dMinGapPct) {
        d.m_dMinPct = 100 - d.m_dMinGapPct;
    }
    d.ThresholdsFromPercentages();
}

}  // namespace

// One message is one step whatever its delta: 1 % for the percent edits, a
// hundredth of the data range for the absolute ones.
BOOL CColorDlgBase::OnMouseWheel(UINT /*nFlags*/, short zDelta, CPoint /*point*/) {
    const double u = zDelta > 0 ? 10.0 : -10.0;
    const double pctStep = u * 0.1;
    const double thrStep = RangePart(m_dDataMin, m_dDataMax, u, 1000.0);
    const CWnd* focus = CWnd::GetFocus();
    if (focus == nullptr) {
        // nothing to step
    } else if (focus == m_pEditMaxPct) {
        m_dMaxPct += pctStep;
        if (m_dMinGapPct + m_dMinPct > m_dMaxPct) m_dMinPct = m_dMaxPct - m_dMinGapPct;
        KeepPercentagesInBands(*this);
    } else if (focus == m_pEditMinPct) {
        m_dMinPct += pctStep;
        if (m_dMinPct > m_dMaxPct - m_dMinGapPct) m_dMaxPct = m_dMinPct + m_dMinGapPct;
        KeepPercentagesInBands(*this);
    } else if (focus == m_pEditMaxThr) {
        m_dMaxThr += thrStep;
        if (m_dMinThr + m_dMinGapThr > m_dMaxThr) m_dMinThr = m_dMaxThr - m_dMinGapThr;
        KeepThresholdsInBands();
        PercentagesFromThresholds();
    } else if (focus == m_pEditMinThr) {
        m_dMinThr += thrStep;
        if (m_dMinThr > m_dMaxThr - m_dMinGapThr) m_dMaxThr = m_dMinThr + m_dMinGapThr;
        KeepThresholdsInBands();
        PercentagesFromThresholds();
    }
    UpdateData(FALSE);
    m_dLastMaxThr = m_dMaxThr;
    m_dLastMinThr = m_dMinThr;
    UpdateView(m_bNotify);
    UpdateData(FALSE);
    RecordWheelStep();
    Default();
    return TRUE;
}
