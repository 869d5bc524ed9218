// The portable backend's answers to modal questions: message boxes are
// recorded and answered OK, file dialogs are recorded and cancelled.
#include "../backend.h"
#include "window_system.h"

using namespace portable;

int BackendMessageBox(HWND /*owner*/, const char* text, const char* caption, UINT type) {
    System().messageBoxes.push_back({text ? text : "", caption ? caption : "", type});
    return IDOK;
}

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    return BackendMessageBox(hWnd, lpText, lpCaption, uType);
}

bool BackendFileDialog(bool open, const char* defaultExt, const char* filter, DWORD flags,
                       std::string& path) {
    System().fileDialogs.push_back({open, defaultExt ? defaultExt : "", filter ? filter : "", flags, path});
    return false;
}
