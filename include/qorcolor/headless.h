// What a host needs to run the window without a person: replaceable
// providers for its modal questions, scripted input and its pixels.
//
// Functions: QorSetMessageBoxProvider, QorSetFileDialogProvider,
//   QorTypeText, QorChooseComboItem, QorClickButton, QorIsButtonChecked,
//   QorPumpMessages, QorIsWindowVisible, QorIsOnDesktop,
//   QorReadWindowPixels, QorWritePng, QorWriteViewPng
//
// Message boxes and file dialogs go through these providers, so that a
// headless host or a test never waits for a person. On Windows the defaults
// show the real boxes and common dialogs; on the portable backend the default
// message box records the text and answers OK, and the default file dialog
// answers "cancelled".
#pragma once

#include "controls.h"
#include "qorcolor.h"

extern "C" {

// Returns the button the user chose (IDOK = 1, IDCANCEL = 2, ...).
typedef int (*QorMessageBoxProvider)(const char* text, const char* caption, unsigned int type, void* context);

// open: 1 for an open dialog, 0 for a save dialog. On OK, write the chosen
// full path (zero-terminated, at most pathSize bytes) and return 1; return 0
// for cancel.
typedef int (*QorFileDialogProvider)(int open, const char* defaultExt, const char* filter, unsigned int flags,
                                     char* path, int pathSize, void* context);

// A null provider restores the default.
QORCOLOR_API void QorSetMessageBoxProvider(QorMessageBoxProvider provider, void* context);
QORCOLOR_API void QorSetFileDialogProvider(QorFileDialogProvider provider, void* context);

// Scripted input. Each acts on a control of the colour table window by its
// QOR_IDC_* id (controls.h), as a user would, so the window notifies the host
// as it does for a person; each returns 0 when the window or the control is
// missing, else 1.

// Selects an edit's text and types `text` over it, character by character.
QORCOLOR_API int QorTypeText(int controlId, const char* text);
// Selects item `index` (from 0) of a combo box as a click in its list does;
// 0 for an index it does not have.
QORCOLOR_API int QorChooseComboItem(int controlId, int index);
QORCOLOR_API int QorClickButton(int controlId);
// 1 when a check box is checked.
QORCOLOR_API int QorIsButtonChecked(int controlId);

// Dispatches the messages pending for this thread (paints among them) and
// returns how many; a host with a message loop of its own needs none of it.
QORCOLOR_API int QorPumpMessages(void);
// 1 while the window is shown; closing it only hides it.
QORCOLOR_API int QorIsWindowVisible(void);
// 1 when the window is on a real display: always when shown on Windows; on
// Linux only when a desktop shows it (not offscreen or QORCOLOR_HEADLESS=1).
QORCOLOR_API int QorIsOnDesktop(void);

// The window's client area as 0x00RRGGBB, rows top-down, as painted so far
// (QorPumpMessages first for pending paints; on Windows, what the screen
// shows of it). Returns width * height, 0 without a window, and copies the
// pixels only when `capacity` holds them all: call with 0 to learn the size.
QORCOLOR_API int QorReadWindowPixels(int* width, int* height, unsigned int* pixels, int capacity);
// Writes 0x00RRGGBB pixels, rows top-down, as an 8-bit RGB PNG file; 1 on success.
QORCOLOR_API int QorWritePng(const char* path, const unsigned int* pixels, int width, int height);
// Writes the histogram view's canvas, as last drawn, as a PNG file; 1 on success.
QORCOLOR_API int QorWriteViewPng(const char* path);
}
