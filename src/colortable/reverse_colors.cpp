// Reverse: entry i of the active table trades places with entry N - 1 - i.
// The built-in tables belong to the canvas library, so the result always
// lives in the dialog's own table; the alpha curve stays where it is.
#include <algorithm>

#include "../dialog/color_dlg.h"

int CColorDlgBase::ReverseColors() {
    if (m_pColorTab == nullptr) return -1;
    const int entries = m_nMaxIndex + 1;
    if (m_pColorTab != m_pOwnTab) {
        auto* reversed = new unsigned int[entries];
        std::reverse_copy(m_pColorTab, m_pColorTab + entries, reversed);
        delete[] m_pOwnTab;
        m_pOwnTab = reversed;
    } else {
        std::reverse(m_pOwnTab, m_pOwnTab + entries);
    }
    ActivateTable(m_pOwnTab, m_nMaxIndex, m_pszTabName);
    UpdateView(m_bNotify);
    RecordStep();
    return 0;
}
