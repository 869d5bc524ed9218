// The alpha curve over the histogram: knots as squares joined by a polyline.
#include "../dialog/color_dlg.h"
#include "layout.h"

namespace {

constexpr int kKnotRadius = 5;

int KnotRow(int height, float alpha, int y) {
    return view::TruncToInt(static_cast<float>(height) * alpha + static_cast<float>(y));
}

}  // namespace

// The end knots follow their alpha values; inner knots keep the positions the
// editing gave them. Without any entry (N < 0) only the area is recorded.
void CColorDlgBase::DrawAlphaCurve(int x, int y, int width, int height) {
    if (m_bEditAlpha == 0) return;
    m_nAlphaLeft = x;
    m_nAlphaBottom = y;
    m_nAlphaRight = x + width;
    m_nAlphaTop = y + height;
    const int n = m_nMaxIndex;
    if (n < 0 || !m_pAlpha || !m_pAlphaKnot || !m_pKnotPos) return;
    m_pKnotPos[0] = CPoint(x, KnotRow(height, m_pAlpha[0], y));
    m_pKnotPos[n] = CPoint(x + width, KnotRow(height, m_pAlpha[n], y));

    const CPoint* previous = nullptr;
    for (int k = 0; k <= n; ++k) {
        if (m_pAlphaKnot[k] != 1) continue;
        const CPoint& p = m_pKnotPos[k];
        const int lit = m_bMouseDown != 0 && k == m_nActiveKnot;
        m_dib.DrawButton(p.x - kKnotRadius, p.y - kKnotRadius, p.x + kKnotRadius, p.y + kKnotRadius, 0, 128,
                         0, lit);
        if (previous) m_dib.Line(previous->x, previous->y, p.x, p.y, 255, 0, 0);
        previous = &p;
    }
}
