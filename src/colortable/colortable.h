// What the colour tables do for the dialog's other parts, joined by module/.
//
// Routines: ResetAlphaCurve, SetAlphaKnot, DeleteAlphaKnot (the alpha curve as
// data), SaveActiveTable (the other half of a left double click)
#pragma once

class CColorDlgBase;

namespace qorcolor::colortable {

// A flat curve at 1.0 over `entries` entries, with knots at both ends only.
void ResetAlphaCurve(CColorDlgBase& dlg, int entries);
// Makes entry `knot` a knot of alpha `alpha`; the runs to the knots on either
// side become straight again.
void SetAlphaKnot(CColorDlgBase& dlg, int knot, float alpha);
// Removes the active knot unless it is an end knot.
void DeleteAlphaKnot(CColorDlgBase& dlg);
// Asks for a file name and writes the active table in the format its
// extension names.
void SaveActiveTable(CColorDlgBase& dlg);

}  // namespace qorcolor::colortable
