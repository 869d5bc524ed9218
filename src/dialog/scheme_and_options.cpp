// Handlers of the scheme list and the three check boxes.
#include "color_dlg.h"

void CColorDlgBase::OnSelChangeScheme() {
    const int i = m_cbScheme.GetCurSel();
    if (i < 0 || i >= kSchemeCount) return;  // an empty selection names no table
    m_nScheme = i;
    ActivateTable(BuiltInTable(i), CDIB::kBuiltInEntries - 1, m_pszSchemeName[i]);
    UpdateView(m_bNotify);
    RecordStep();
}

// "Log space" and "Edit Alpha" only change the drawing: the host is not told.
void CColorDlgBase::OnClickedViewOption() {
    UpdateData(TRUE);
    UpdateView(0);
    RecordStep();
}

// "Refresh" decides whether later changes reach the host; nothing to redraw.
void CColorDlgBase::OnClickedNotify() { UpdateData(TRUE); }
