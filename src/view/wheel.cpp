// The mouse wheel steps the threshold whose edit has the keyboard focus.
#include "../dialog/color_dlg.h"
#include "../dialog/range_math.h"

namespace {

void ClampPercentages(CColorDlgBase& d) {
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

void ClampThresholds(CColorDlgBase& d) {
    if (d.m_dMaxThr >= d.m_dDataMax) {
        d.m_dMaxThr = d.m_dDataMax;
    } else if (d.m_dMinGapThr + d.m_dDataMin > d.m_dMaxThr) {
        d.m_dMaxThr = d.m_dMinGapThr + d.m_dDataMin;
    }
    if (d.m_dDataMin > d.m_dMinThr) {
        d.m_dMinThr = d.m_dDataMin;
    } else if (d.m_dMinThr > d.m_dDataMax - d.m_dMinGapThr) {
        d.m_dMinThr = d.m_dDataMax - d.m_dMinGapThr;
    }
    d.PercentagesFromThresholds();
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
        ClampPercentages(*this);
    } else if (focus == m_pEditMinPct) {
        m_dMinPct += pctStep;
        if (m_dMinPct > m_dMaxPct - m_dMinGapPct) m_dMaxPct = m_dMinPct + m_dMinGapPct;
        ClampPercentages(*this);
    } else if (focus == m_pEditMaxThr) {
        m_dMaxThr += thrStep;
        if (m_dMinThr + m_dMinGapThr > m_dMaxThr) m_dMinThr = m_dMaxThr - m_dMinGapThr;
        ClampThresholds(*this);
    } else if (focus == m_pEditMinThr) {
        m_dMinThr += thrStep;
        if (m_dMinThr > m_dMaxThr - m_dMinGapThr) m_dMaxThr = m_dMinThr + m_dMinGapThr;
        ClampThresholds(*this);
    }
    UpdateData(FALSE);
    m_dLastMaxThr = m_dMaxThr;
    m_dLastMinThr = m_dMinThr;
    UpdateView(m_bNotify);
    UpdateData(FALSE);
    Default();
    return TRUE;
}
