// Button 1 ("Tamsel color"): a generated table of m_nColorCount entries
// becomes the active table, with a fresh flat alpha curve of the same size.
#include "../dialog/color_dlg.h"

namespace {

bool IsValidColorCount(int count) {
    return count >= CColorDlgBase::kMinColorCount && count <= CColorDlgBase::kMaxColorCount;
}

}  // namespace

// Enter reaches here as well: in a threshold edit it only confirms the number,
// so the user's table and alpha curve stay.
void CColorDlgBase::OnBnClickedOk() {
    if (ConfirmThresholdEdit()) return;
    UpdateData(TRUE);
    // A count that failed the range check has been stored all the same (the
    // framework showed its message): keep the current table and curve, and
    // fall back to the last accepted count.
    if (!IsValidColorCount(m_nColorCount)) {
        m_nColorCount = m_nLastColorCount;
        return;
    }
    m_nLastColorCount = m_nColorCount;
    delete[] m_pOwnTab;
    m_pOwnTab = new unsigned int[m_nColorCount];
    ResetAlphaCurve(m_nColorCount);
    CDIB::GenColorTable(m_pOwnTab, m_nColorCount, 0.875f, 0.6666667f);
    CDIB::InvertColorTable(m_pOwnTab, m_nColorCount);

    ActivateTable(m_pOwnTab, m_nColorCount - 1, m_pszTabName);
    m_nHighIndex = m_nMaxIndex;
    m_nLowIndex = 0;
    UpdateView(0);
    RecordStep();
}
