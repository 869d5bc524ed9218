// The window's commands, joined to the dialog by module/joins.cpp.
//
// Routines: RunCommand
#pragma once

#include "../framework/afx.h"

class CColorDlgBase;

namespace qorcolor::module {

// Runs menu command `id` (ID_AUTO_CONTRAST ...); false for an id that is not one.
bool RunCommand(CColorDlgBase& dlg, UINT id);

}  // namespace qorcolor::module
