// The alpha curve as data: one alpha per table entry, straight between the
// knots. Where a knot sits on the canvas is the view's business.
#include <algorithm>

#include "../dialog/color_dlg.h"
#include "colortable.h"

namespace qorcolor::colortable {

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

void ResetAlphaCurve(CColorDlgBase& dlg, int entries) {
    delete[] dlg.m_pAlpha;
    delete[] dlg.m_pAlphaKnot;
    delete[] dlg.m_pKnotPos;
    dlg.m_pAlpha = new float[entries];
    dlg.m_pAlphaKnot = new int[entries]();
    dlg.m_pKnotPos = new CPoint[entries];
    std::fill(dlg.m_pAlpha, dlg.m_pAlpha + entries, 1.0f);
    dlg.m_pAlphaKnot[0] = 1;
    dlg.m_pAlphaKnot[entries - 1] = 1;
    dlg.m_nActiveKnot = -1;  // the knot being edited went with the old arrays
}

void SetAlphaKnot(CColorDlgBase& dlg, int knot, float alpha) {
    if (knot < 0 || knot > dlg.m_nMaxIndex || !dlg.m_pAlpha || !dlg.m_pAlphaKnot) return;
    float* curve = dlg.m_pAlpha;
    const int* knots = dlg.m_pAlphaKnot;
    dlg.m_pAlphaKnot[knot] = 1;
    curve[knot] = alpha;
    int p = knot - 1;
    while (p >= 0 && knots[p] != 1) --p;
    if (p >= 0) Interpolate(curve, p, knot);
    int q = knot + 1;
    while (q <= dlg.m_nMaxIndex && knots[q] != 1) ++q;
    if (q <= dlg.m_nMaxIndex) Interpolate(curve, knot, q);
}

// The end knots stay. The nearest knot below becomes the active one.
void DeleteAlphaKnot(CColorDlgBase& dlg) {
    const int knot = dlg.m_nActiveKnot;
    if (dlg.m_pAlphaKnot == nullptr || knot < 1 || knot >= dlg.m_nMaxIndex) return;
    dlg.m_pAlphaKnot[knot] = 0;
    int below = knot - 1;
    while (below > 0 && dlg.m_pAlphaKnot[below] != 1) --below;
    dlg.m_nActiveKnot = below;
}

}  // namespace qorcolor::colortable
