// Picking a knot of the alpha curve.
#include <cstdint>

#include "../dialog/color_dlg.h"

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
