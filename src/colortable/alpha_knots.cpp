// Editing the alpha curve by its knots: picking a knot, dragging the active one
// up and down, and the Edit Alpha half of a left double click (a click on an
// inner knot removes it, a click where there is no knot adds one).
#include <algorithm>
#include <cstdint>

#include "../dialog/color_dlg.h"
#include "../view/layout.h"

namespace {

constexpr int64_t kPickRadius = 4;

bool Near(int64_t a, int64_t b) { return a - kPickRadius <= b && b <= a + kPickRadius; }

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

namespace {

// Entries strictly between knots p < q take the straight line between them.
void Interpolate(float* alpha, int p, int q) {
    const float from = alpha[p];
    const float to = alpha[q];
    for (int j = p + 1; j < q; ++j) {
        alpha[j] = (to - from) * static_cast<float>(j - p) / static_cast<float>(q - p) + from;
    }
}

}  // namespace

// Rows below the area give alpha 0, rows above it 1. A knot index outside
// the arrays (left over from a larger table) is ignored.
void CColorDlgBase::MoveActiveKnot(int dy) {
    const int s = m_nActiveKnot;
    if (s < 0 || s > m_nMaxIndex || !m_pAlpha || !m_pAlphaKnot || !m_pKnotPos) return;

    const int64_t row = int64_t{m_nKnotDownY} + dy;
    int py = 0;
    if (row < m_nAlphaBottom) {
        py = m_nAlphaBottom;
        m_pAlpha[s] = 0.0f;
    } else if (row > m_nAlphaTop) {
        py = m_nAlphaTop;
        m_pAlpha[s] = 1.0f;
    } else {
        py = static_cast<int>(row);
        // An area of one row holds only the bottom: alpha 0, as below it.
        const int rows = m_nAlphaTop - m_nAlphaBottom;
        m_pAlpha[s] = rows > 0 ? static_cast<float>(py - m_nAlphaBottom) / static_cast<float>(rows) : 0.0f;
    }
    m_pKnotPos[s].y = py;

    int p = s - 1;
    while (p >= 0 && m_pAlphaKnot[p] != 1) --p;
    if (p >= 0) Interpolate(m_pAlpha, p, s);
    int q = s + 1;
    while (q <= m_nMaxIndex && m_pAlphaKnot[q] != 1) ++q;
    if (q <= m_nMaxIndex) Interpolate(m_pAlpha, s, q);
}

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

void CColorDlgBase::ResetAlphaCurve(int entries) {
    delete[] m_pAlpha;
    delete[] m_pAlphaKnot;
    delete[] m_pKnotPos;
    m_pAlpha = new float[entries];
    m_pAlphaKnot = new int[entries]();
    m_pKnotPos = new CPoint[entries];
    std::fill(m_pAlpha, m_pAlpha + entries, 1.0f);
    m_pAlphaKnot[0] = 1;
    m_pAlphaKnot[entries - 1] = 1;
    m_nActiveKnot = -1;  // the knot being edited went with the old arrays
}
