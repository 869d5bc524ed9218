// What each backend supplies beyond the Win32 subset: creating a dialog from
// the template data and the default answers of the modal providers.
#pragma once

#include <string>

#include "dialog_template.h"
#include "win_api.h"

// Creates a modeless dialog for the template: on Windows from the template's
// resource in `resources`, on the portable backend from the data itself.
// Sends WM_INITDIALOG with `param` to `proc`, as CreateDialogParam does.
HWND BackendCreateDialog(HINSTANCE resources, const DialogTemplate& tmpl, HWND parent, DLGPROC proc,
                         LPARAM param);

// A modeless dialog came into being / receives WM_NCDESTROY. On Windows the
// first keeps its keyboard navigation working in any host loop while it
// exists; the portable backend has nothing to do.
void BackendDialogCreated(HWND dialog);
void BackendDialogEnded(HWND dialog);

// Default message box: the real one on Windows; recorded and answered with
// IDOK on the portable backend.
int BackendMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Default file dialog: the common dialog on Windows; "cancelled" on the
// portable backend. Returns true with the chosen full path.
bool BackendFileDialog(bool open, const char* defaultExt, const char* filter, DWORD flags, std::string& path);

// The framework's pre-translation of a keyboard message for a dialog and its
// controls (CWnd::PreTranslateMessage of the dialog's object), which the
// backends run before IsDialogMessage; TRUE when it took the message.
BOOL AfxPreTranslateDialogMessage(HWND dialog, MSG* msg);
