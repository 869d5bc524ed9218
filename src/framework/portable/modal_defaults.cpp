// The portable backend's answers to modal questions: they are recorded, then
// asked on the desktop when there is one; offscreen a message box is
// answered OK and a file dialog cancelled.
#include "../backend.h"
#include "window_system.h"

using namespace portable;

int BackendMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    System().messageBoxes.push_back({text ? text : "", caption ? caption : "", type});
    int answer = IDOK;
    DesktopMessageBox(owner, text ? text : "", caption ? caption : "", type, answer);
    return answer;
}

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    return BackendMessageBox(hWnd, lpText, lpCaption, uType);
}

bool BackendFileDialog(bool open, const char* defaultExt, const char* filter, DWORD flags,
                       std::string& path) {
    System().fileDialogs.push_back({open, defaultExt ? defaultExt : "", filter ? filter : "", flags, path});
    bool chosen = false;
    DesktopFileDialog(open, filter, flags, path, chosen);
    return chosen;
}
