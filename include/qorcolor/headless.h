// Replaceable providers for the window's modal questions.
//
// Functions: QorSetMessageBoxProvider, QorSetFileDialogProvider
//
// Message boxes and file dialogs go through these providers, so that a
// headless host or a test never waits for a person. On Windows the defaults
// show the real boxes and common dialogs; on the portable backend the default
// message box records the text and answers OK, and the default file dialog
// answers "cancelled".
#pragma once

#include "qorcolor.h"

extern "C" {

// Returns the button the user chose (IDOK = 1, IDCANCEL = 2, ...).
typedef int (*QorMessageBoxProvider)(const char* text, const char* caption, unsigned int type,
                                     void* context);

// open: 1 for an open dialog, 0 for a save dialog. On OK, write the chosen
// full path (zero-terminated, at most pathSize bytes) and return 1; return 0
// for cancel.
typedef int (*QorFileDialogProvider)(int open, const char* defaultExt, const char* filter,
                                     unsigned int flags, char* path, int pathSize, void* context);

// A null provider restores the default.
QORCOLOR_API void QorSetMessageBoxProvider(QorMessageBoxProvider provider, void* context);
QORCOLOR_API void QorSetFileDialogProvider(QorFileDialogProvider provider, void* context);
}
