// The joins between the dialog's parts: the dialog, the histogram engine, the
// colour tables and the view reach one another only through this table.
#include "../colortable/colortable.h"
#include "../dialog/color_dlg.h"
#include "../histogram/histogram.h"
#include "../view/view.h"

constinit const ColorDlgJoins g_colorDlgJoins = {
    .computeHistogram = qorcolor::histogram::ComputeHistogram,
    .updateView = view::UpdateView,
    .resetAlphaCurve = qorcolor::colortable::ResetAlphaCurve,
    .setAlphaKnot = qorcolor::colortable::SetAlphaKnot,
    .deleteAlphaKnot = qorcolor::colortable::DeleteAlphaKnot,
    .saveActiveTable = qorcolor::colortable::SaveActiveTable,
};
