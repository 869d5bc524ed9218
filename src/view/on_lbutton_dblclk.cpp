// WM_LBUTTONDBLCLK: in Edit Alpha mode a double click adds or removes a knot;
// otherwise it saves the active table to a file.
#include "../dialog/color_dlg.h"

void CColorDlgBase::OnLButtonDblClk(UINT /*nFlags*/, CPoint point) {
    if (m_bEditAlpha == 1) {
        EditAlphaKnot(point);
        RecordStep();
    } else {
        SaveActiveTable();
    }
    Default();
}
