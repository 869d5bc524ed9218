// Vertical drag of the active knot of the alpha curve.
#include <cstdint>

#include "../dialog/color_dlg.h"

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
