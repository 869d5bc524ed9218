// What the histogram engine does for the dialog's other parts, joined by module/.
//
// Routines: ComputeHistogram
#pragma once

class CColorDlgBase;

namespace qorcolor::histogram {

// Rebuilds the counts, the data range and the thresholds when the histogram
// was marked invalid; does nothing otherwise.
void ComputeHistogram(CColorDlgBase& dlg);

}  // namespace qorcolor::histogram
