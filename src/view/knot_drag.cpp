// The alpha curve's knots under the mouse: picking a knot, dragging the active
// one up and down, and the Edit Alpha half of a left double click (a click on
// an inner knot removes it, a click where there is no knot adds one).
#include <cstdint>

#include "../dialog/color_dlg.h"
#include "layout.h"

namespace {

constexpr int64_t kPickRadius = 4;

bool Near(int64_t a, int64_t b) { return a - kPickRadius <= b && b <= a + kPickRadius; }

// A knot at the clicked column's colour index, at the clicked height; its
// alpha follows from the row when it is moved into place.
void AddAlphaKnot(CColorDlgBase& dlg, int x, int y) {
    const int64_t width = int64_t{dlg.m_nAlphaRight} - dlg.m_nAlphaLeft;
    const int index =
        width > 0 ? static_cast<int>((int64_t{x} - dlg.m_nAlphaLeft) * dlg.m_nMaxIndex / width) : 0;
    dlg.m_pKnotPos[index] = CPoint(x, y);
    dlg.m_pAlphaKnot[index] = 1;
    dlg.m_nActiveKnot = index;
    dlg.m_nKnotDownY = y;
}

}  // namespace

// The lowest index wins where knots overlap.
void CColorDlgBase::HitTestKnot(int x, int y) {
    m_nActiveKnot = -1;
    if (!m_pAlphaKnot || !m_pKnotPos) return;
    for (int k = 0; k <= m_nMaxIndex; ++k) {
        if (m_pAlphaKnot[k] != 1) continue;
        const CPoint& p = m_pKnotPos[k];
        if (Near(p.x, x) && Near(p.y, y)) {
            m_nActiveKnot = k;
            m_nKnotDownY = p.y;
            return;
        }
    }
}

// Rows below the area give alpha 0, rows above it 1. A knot index outside
// the arrays (left over from a larger table) is ignored.
void CColorDlgBase::MoveActiveKnot(int dy) {
    const int s = m_nActiveKnot;
    if (s < 0 || s > m_nMaxIndex || !m_pAlpha || !m_pAlphaKnot || !m_pKnotPos) return;

    const int64_t row = int64_t{m_nKnotDownY} + dy;
    int py = 0;
    float alpha = 0.0f;
    if (row < m_nAlphaBottom) {
        py = m_nAlphaBottom;
    } else if (row > m_nAlphaTop) {
        py = m_nAlphaTop;
        alpha = 1.0f;
    } else {
        py = static_cast<int>(row);
        // An area of one row holds only the bottom: alpha 0, as below it.
        const int rows = m_nAlphaTop - m_nAlphaBottom;
        alpha = rows > 0 ? static_cast<float>(py - m_nAlphaBottom) / static_cast<float>(rows) : 0.0f;
    }
    m_pKnotPos[s].y = py;
    SetAlphaKnot(s, alpha);
}

void CColorDlgBase::EditAlphaKnot(CPoint point) {
    if (m_pAlpha == nullptr || m_pAlphaKnot == nullptr || m_pKnotPos == nullptr || m_nMaxIndex < 1) return;
    const auto [x, y, onCanvas] = view::ClientToCanvas(*this, point);
    if (x < m_nAlphaLeft || x > m_nAlphaRight || y < m_nAlphaBottom || y > m_nAlphaTop) return;

    HitTestKnot(static_cast<int>(x), static_cast<int>(y));
    if (m_nActiveKnot == -1) {
        AddAlphaKnot(*this, static_cast<int>(x), static_cast<int>(y));
    } else {
        const int hit = m_nActiveKnot;
        DeleteAlphaKnot();
        // An end knot stays; it has merely become the active knot.
        if (m_nActiveKnot == hit) return;
        m_nKnotDownY = m_pKnotPos[m_nActiveKnot].y;
    }
    MoveActiveKnot(0);
    UpdateView(0);
}
