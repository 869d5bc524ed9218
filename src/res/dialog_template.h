// Dialog template 5008, the colour table window, as data.
//
// Data: g_colorTableTemplate
//
// The dialog registers it with the framework before creating its window; the
// Windows build generates the DLL's resource script from the same data.
#pragma once

#include "../framework/dialog_template.h"

extern const DialogTemplate g_colorTableTemplate;
