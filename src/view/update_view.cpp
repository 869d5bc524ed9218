// The refresh, through which every change of the window's state passes, and
// WM_PAINT, which composes the canvas anew and copies it to the paint context.
#include "../dialog/color_dlg.h"
#include "layout.h"
#include "view.h"
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
void view::UpdateView(CColorDlgBase& dlg, int notify) {
    dlg.ComputeHistogram();
    const ViewLayout layout = MakeLayout(dlg);
    ClampThresholds(dlg, layout);
    ClampIndices(dlg, layout);
    FillParam(dlg);
    FillBackground(dlg.m_dib);
    FindPeak(dlg);
    PlaceHandles(dlg, layout);
    DrawColumns(dlg, layout);
    DrawHandles(dlg, layout);
    DrawBinMarker(dlg, layout);
    UpdatePercentages(dlg, layout);
    dlg.DrawAlphaCurve(layout.margin - 1, layout.baseline, layout.columns, layout.histHeight);
    if (dlg.m_hWnd) {
        CClientDC dc(&dlg);
        dlg.m_dib.Draw(&dc, dlg.m_nViewLeft, dlg.m_nViewTop, dlg.m_dib.GetWidth(), dlg.m_dib.GetHeight());
    }
    if (notify && dlg.m_pfnNotify) dlg.m_pfnNotify(&dlg.m_param);
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
