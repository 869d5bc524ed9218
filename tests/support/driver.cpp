// The backend-neutral part of the test driver: Win32 calls only.
#include "driver.h"

#include <algorithm>
#include <cstring>

#include "framework/afx.h"

namespace driver {

HWND FindDialog() { return FindWindowA(nullptr, "Color Table"); }

std::string Text(HWND hWnd) {
    const int length = GetWindowTextLengthA(hWnd);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = GetWindowTextA(hWnd, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

void TypeText(HWND hEdit, const char* text) {
    SendMessageA(hEdit, EM_SETSEL, 0, -1);
    for (const char* p = text; *p; ++p) SendMessageA(hEdit, WM_CHAR, static_cast<unsigned char>(*p), 1);
}

void Click(HWND hButton) { SendMessageA(hButton, BM_CLICK, 0, 0); }

bool IsChecked(HWND hButton) { return SendMessageA(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void PickItem(HWND hCombo, int index) {
    SendMessageA(hCombo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(GetParent(hCombo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hCombo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(hCombo));
}

namespace {

void Mouse(HWND hWnd, UINT message, int x, int y, UINT keys) {
    SendMessageA(hWnd, message, keys, MAKELPARAM(x, y));
}

int AnswerMessageBox(const char* text, const char*, unsigned int, void* context) {
    auto* self = static_cast<RecordingProviders*>(context);
    self->boxes.push_back(text ? text : "");
    if (self->onQuestion) self->onQuestion();
    return IDOK;
}

int AnswerFileDialog(int open, const char* defaultExt, const char* filter, unsigned int flags, char* path,
                     int pathSize, void* context) {
    auto* self = static_cast<RecordingProviders*>(context);
    self->fileRequests.emplace_back(open != 0, defaultExt ? defaultExt : "", filter ? filter : "", flags);
    if (self->onQuestion) self->onQuestion();
    if (self->fileAnswers.empty() || !path || pathSize <= 0) return 0;
    const std::string answer = self->fileAnswers.front();
    self->fileAnswers.pop_front();
    const size_t length = std::min(answer.size(), static_cast<size_t>(pathSize) - 1);
    std::memcpy(path, answer.data(), length);
    path[length] = '\0';
    return 1;
}

}  // namespace

void MouseDown(HWND hWnd, int x, int y, UINT keys) { Mouse(hWnd, WM_LBUTTONDOWN, x, y, keys); }

void MouseMove(HWND hWnd, int x, int y, UINT keys) { Mouse(hWnd, WM_MOUSEMOVE, x, y, keys); }

void MouseUp(HWND hWnd, int x, int y, UINT keys) { Mouse(hWnd, WM_LBUTTONUP, x, y, keys); }

void DoubleClick(HWND hWnd, int x, int y) {
    Mouse(hWnd, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
    Mouse(hWnd, WM_LBUTTONUP, x, y, 0);
    Mouse(hWnd, WM_LBUTTONDBLCLK, x, y, MK_LBUTTON);
    Mouse(hWnd, WM_LBUTTONUP, x, y, 0);
}

void RightDown(HWND hWnd, int x, int y) {
    Mouse(hWnd, WM_RBUTTONDOWN, x, y, MK_RBUTTON);
    Mouse(hWnd, WM_RBUTTONUP, x, y, 0);
}

void Wheel(HWND hWnd, int x, int y, int delta, UINT keys) {
    POINT point = {x, y};
    ClientToScreen(hWnd, &point);
    SendMessageA(hWnd, WM_MOUSEWHEEL, MAKEWPARAM(keys, delta), MAKELPARAM(point.x, point.y));
}

void PumpMessages() {
    // Bounded: a window that keeps invalidating itself cannot hang a test.
    MSG message;
    for (int i = 0; i < 100000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

RecordingProviders::RecordingProviders() {
    AfxSetMessageBoxAnswerer(&AnswerMessageBox, this);
    AfxSetFileDialogAnswerer(&AnswerFileDialog, this);
}

RecordingProviders::~RecordingProviders() {
    AfxSetMessageBoxAnswerer(nullptr, nullptr);
    AfxSetFileDialogAnswerer(nullptr, nullptr);
}

}  // namespace driver
