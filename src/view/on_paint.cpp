// WM_PAINT: the canvas is composed anew and copied to the paint context.
#include "../dialog/color_dlg.h"

void CColorDlgBase::OnPaint() {
    if (!m_hWnd) {
        UpdateView(0);
        return;
    }
    CPaintDC dc(this);
    UpdateView(0);
    m_dib.Draw(&dc, m_nViewLeft, m_nViewTop, m_dib.GetWidth(), m_dib.GetHeight());
}
