// What the view does for the dialog's other parts, joined by module/.
//
// Routines: UpdateView
#pragma once

class CColorDlgBase;

namespace view {

// The refresh every change of the window's state passes through: histogram
// when due, clamping, record, canvas, window, and the host's callback when
// `notify` is set.
void UpdateView(CColorDlgBase& dlg, int notify);

}  // namespace view
