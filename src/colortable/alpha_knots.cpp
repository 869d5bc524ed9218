// The Edit Alpha half of a left double click: a click on an inner knot
// removes it, a click where there is no knot adds one.
#include <cstdint>

#include "../dialog/color_dlg.h"

namespace {

// A knot at the clicked column's colour index, at the clicked height.
void AddAlphaKnot(CColorDlgBase& dlg, int x, int y) {
    const int64_t width = int64_t{dlg.m_nAlphaRight} - dlg.m_nAlphaLeft;
    const int64_t height = int64_t{dlg.m_nAlphaTop} - dlg.m_nAlphaBottom;
    const int index =
        width > 0 ? static_cast<int>((int64_t{x} - dlg.m_nAlphaLeft) * dlg.m_nMaxIndex / width) : 0;
    // A flat area has no height to take a fraction of: the knot sits at 0.
    const float alpha =
        height > 0 ? static_cast<float>(int64_t{y} - dlg.m_nAlphaBottom) / static_cast<float>(height) : 0.0f;
    dlg.m_pKnotPos[index] = CPoint(x, y);
    dlg.m_pAlpha[index] = alpha;
    dlg.m_pAlphaKnot[index] = 1;
    dlg.m_nActiveKnot = index;
    dlg.m_nKnotDownY = y;
}

}  // namespace

void CColorDlgBase::EditAlphaKnot(CPoint point) {
    if (m_pAlpha == nullptr || m_pAlphaKnot == nullptr || m_pKnotPos == nullptr || m_nMaxIndex < 1) return;
    // Client to canvas coordinates; canvas rows count upward.
    const int64_t x = int64_t{point.x} - m_nViewLeft;
    const int64_t y = int64_t{m_nViewTop} - 1 + m_nViewHeight - point.y;
    if (x < m_nAlphaLeft || x > m_nAlphaRight || y < m_nAlphaBottom || y > m_nAlphaTop) return;

    HitTestKnot(static_cast<int>(x), static_cast<int>(y));
    if (m_nActiveKnot == -1) {
        AddAlphaKnot(*this, static_cast<int>(x), static_cast<int>(y));
    } else {
        const int hit = m_nActiveKnot;
        DeleteAlphaKnot();
        // An end knot stays; it has merely become the active knot.
        if (m_nActiveKnot == hit) return;
    }
    MoveActiveKnot(0);
    UpdateView(0);
}

void CColorDlgBase::DeleteAlphaKnot() {
    const int knot = m_nActiveKnot;
    if (m_pAlphaKnot == nullptr || m_pKnotPos == nullptr || knot < 1 || knot >= m_nMaxIndex) return;
    m_pAlphaKnot[knot] = 0;
    int below = knot - 1;
    while (below > 0 && m_pAlphaKnot[below] != 1) --below;
    m_nActiveKnot = below;
    m_nKnotDownY = m_pKnotPos[below].y;
}
