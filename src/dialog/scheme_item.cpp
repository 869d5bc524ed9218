// Owner drawing of the scheme list: a preview strip, then the scheme's name.
#include <cstring>

#include "color_dlg.h"

void CColorDlgBase::OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (nIDCtl == IDC_SCHEME) {
        DrawSchemeItem(lpDrawItemStruct);
    } else {
        CDialog::OnDrawItem(nIDCtl, lpDrawItemStruct);
    }
}

void CColorDlgBase::DrawSchemeItem(LPDRAWITEMSTRUCT item) {
    const RECT rc = item->rcItem;
    const int h = rc.bottom - rc.top;
    CDC dc;
    dc.Attach(item->hDC);
    const COLORREF oldText = dc.GetTextColor();
    const COLORREF oldBack = dc.GetBkColor();
    COLORREF fill = oldBack;
    if (item->itemState & ODS_SELECTED) {
        dc.SetTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT));
        fill = GetSysColor(COLOR_HIGHLIGHT);
        dc.SetBkColor(fill);
    }
    dc.FillSolidRect(&rc, fill);
    dc.SetBkMode(TRANSPARENT);
    // An empty selection (item -1) draws only the background.
    const int n = static_cast<int>(item->itemID);
    if (n >= 0 && n < kSchemeCount) {
        TEXTMETRIC tm{};
        dc.GetTextMetrics(&tm);
        const int x0 = rc.left + 1;
        m_dibPreview[n].Draw(&dc, x0, rc.top + (h - m_nPreviewHeight) / 2, m_nPreviewWidth, m_nPreviewHeight);
        const char* name = m_pszSchemeName[n];
        dc.TextOut(x0 + m_nPreviewWidth + 2, rc.top + (h - tm.tmHeight) / 2, name,
                   static_cast<int>(std::strlen(name)));
    }
    dc.SetTextColor(oldText);
    dc.SetBkColor(oldBack);
    dc.Detach();
}
