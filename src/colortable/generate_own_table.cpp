// Button 1 ("Tamsel color"): a generated table of m_nColorCount entries
// becomes the active table, with a fresh flat alpha curve of the same size.
#include "../dialog/color_dlg.h"

namespace {

bool IsValidColorCount(int count) {
    return count >= CColorDlgBase::kMinColorCount && count <= CColorDlgBase::kMaxColorCount;
}

// Flat at 1.0 with knots at both ends only.
void RecreateAlphaCurve(CColorDlgBase& dlg, int entries) {
    delete[] dlg.m_pAlpha;
    delete[] dlg.m_pAlphaKnot;
    delete[] dlg.m_pKnotPos;
    dlg.m_pAlpha = new float[entries];
    dlg.m_pAlphaKnot = new int[entries];
    dlg.m_pKnotPos = new CPoint[entries];
    for (int i = 0; i < entries; ++i) {
        dlg.m_pAlpha[i] = 1.0f;
        dlg.m_pAlphaKnot[i] = 0;
    }
    dlg.m_pAlphaKnot[0] = 1;
    dlg.m_pAlphaKnot[entries - 1] = 1;
    // The knot being edited went with the old arrays.
    dlg.m_nActiveKnot = -1;
}

}  // namespace

void CColorDlgBase::OnBnClickedOk() {
    UpdateData(TRUE);
    // A count that failed the range check has been stored all the same (the
    // framework showed its message): keep the current table and curve, and
    // fall back to the last accepted count.
    if (!IsValidColorCount(m_nColorCount)) {
        m_nColorCount = m_nLastColorCount;
        return;
    }
    m_nLastColorCount = m_nColorCount;
    m_nMaxIndex = m_nColorCount - 1;

    delete[] m_pOwnTab;
    m_pOwnTab = new unsigned int[m_nColorCount];
    RecreateAlphaCurve(*this, m_nMaxIndex + 1);
    CDIB::GenColorTable(m_pOwnTab, m_nColorCount, 0.875f, 0.6666667f);
    CDIB::InvertColorTable(m_pOwnTab, m_nColorCount);

    m_nHighIndex = m_nMaxIndex;
    m_pColorTab = m_pOwnTab;
    m_nLowIndex = 0;
    UpdateView(0);
}
