// WM_LBUTTONDBLCLK: in Edit Alpha mode a double click adds or removes a knot.
#include "../dialog/color_dlg.h"

void CColorDlgBase::OnLButtonDblClk(UINT /*nFlags*/, CPoint point) {
    if (m_bEditAlpha == 1) EditAlphaKnot(point);
    Default();
}
