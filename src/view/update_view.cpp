// The refresh, through which every change of the window's state passes, and
// WM_PAINT, which composes the canvas anew and copies it to the paint context.
#include "../dialog/color_dlg.h"
#include "layout.h"
#include "view_steps.h"

namespace {

void FillParam(CColorDlgBase& dlg) {
    ColorTabParam& p = dlg.m_param;
    p.dMaxThr = dlg.m_dMaxThr;
    p.dMinThr = dlg.m_dMinThr;
    p.nHighIndex = dlg.m_nHighIndex;
    p.nLowIndex = dlg.m_nLowIndex;
    p.nMaxIndex = dlg.m_nMaxIndex;
    p.pColorTab = dlg.m_pColorTab;
    p.dDataMax = dlg.m_dDataMax;
    p.dDataMin = dlg.m_dDataMin;
}

void FillBackground(CDIB& dib) {
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    dib.SetValueAll(GetRValue(face), GetGValue(face), GetBValue(face));
}

}  // namespace

// The layout is taken after the histogram step, which may change the data
// range. The host is called last, when record, canvas and window are final.
void CColorDlgBase::UpdateView(int bNotify) {
    ComputeHistogram();
    const view::ViewLayout layout = view::MakeLayout(*this);
    view::ClampThresholds(*this, layout);
    view::ClampIndices(*this, layout);
    FillParam(*this);
    FillBackground(m_dib);
    view::FindPeak(*this);
    view::PlaceHandles(*this, layout);
    view::DrawColumns(*this, layout);
    view::DrawHandles(*this, layout);
    view::DrawBinMarker(*this, layout);
    view::UpdatePercentages(*this, layout);
    DrawAlphaCurve(layout.margin - 1, layout.baseline, layout.columns, layout.histHeight);
    if (m_hWnd) {
        CClientDC dc(this);
        m_dib.Draw(&dc, m_nViewLeft, m_nViewTop, m_dib.GetWidth(), m_dib.GetHeight());
    }
    if (bNotify && m_pfnNotify) m_pfnNotify(&m_param);
}

void CColorDlgBase::OnPaint() {
    if (!m_hWnd) {
        UpdateView(0);
        return;
    }
    CPaintDC dc(this);
    UpdateView(0);
    m_dib.Draw(&dc, m_nViewLeft, m_nViewTop, m_dib.GetWidth(), m_dib.GetHeight());
}
