// What the desktop's dialogs (gtk_dialogs.cpp) use of the desktop presenter
// (gtk_desktop.cpp); built with GTK only.
#pragma once

#include <gtk/gtk.h>

#include "window_system.h"

namespace portable {

// Whether windows go on a display: GTK is initialised (by the host, or now)
// and the display is still there.
bool DesktopActive();
// The desktop window showing the top-level window of a handle, if any.
GtkWindow* GtkWindowOf(HWND hWnd);
// Runs a modal question, which a lost display ends.
gint Ask(GtkDialog* dialog);
bool DisplayLost();

}  // namespace portable
