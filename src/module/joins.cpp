// The joins between the dialog's parts: the dialog, the histogram engine, the
// colour tables and the view reach one another only through this table,
// filled in when the library is loaded, before any entry point can run.
#include "../colortable/colortable.h"
#include "../dialog/color_dlg.h"
#include "../histogram/histogram.h"
#include "../view/view.h"
#include "commands.h"

namespace {

[[maybe_unused]] const bool kJoined = [] {
    g_colorDlgJoins = {
        .computeHistogram = qorcolor::histogram::ComputeHistogram,
        .updateView = view::UpdateView,
        .resetAlphaCurve = qorcolor::colortable::ResetAlphaCurve,
        .setAlphaKnot = qorcolor::colortable::SetAlphaKnot,
        .deleteAlphaKnot = qorcolor::colortable::DeleteAlphaKnot,
        .saveActiveTable = qorcolor::colortable::SaveActiveTable,
        .runCommand = qorcolor::module::RunCommand,
    };
    return true;
}();

}  // namespace
