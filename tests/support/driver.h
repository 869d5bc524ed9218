// A backend-neutral driver for behaviour tests: finds the dialog, types,
// clicks, moves the mouse, pumps messages, reads client pixels and answers the
// modal questions. Win32 calls only (driver.cpp), but for CaptureClient, which
// is per backend (driver_portable.cpp, driver_win32.cpp).
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "framework/win_api.h"

namespace driver {

// The colour table window: FindWindowA(nullptr, "Color Table").
HWND FindDialog();
std::string Text(HWND hWnd);

// Selects all, then sends one WM_CHAR per character ('\b' is a backspace).
void TypeText(HWND hEdit, const char* text);
void Click(HWND hButton);  // BM_CLICK
bool IsChecked(HWND hButton);
// Selects an item as the user does: CB_SETCURSEL, then CBN_SELCHANGE to the parent.
void PickItem(HWND hCombo, int index);

// Mouse input in hWnd's client coordinates, sent to hWnd.
void MouseDown(HWND hWnd, int x, int y, UINT keys = MK_LBUTTON);
void MouseMove(HWND hWnd, int x, int y, UINT keys = 0);
void MouseUp(HWND hWnd, int x, int y, UINT keys = 0);
// Down, up, double click, up: the sequence Win32 delivers.
void DoubleClick(HWND hWnd, int x, int y);
void RightDown(HWND hWnd, int x, int y);
// One wheel message with `delta` (WHEEL_DELTA per notch); the point goes in
// screen coordinates, as Win32 sends it.
void Wheel(HWND hWnd, int x, int y, int delta, UINT keys = 0);

// A key as the desktop or the host's loop delivers it (WM_KEYDOWN,
// WM_SYSKEYDOWN, WM_KEYUP ...), with the modifiers down meanwhile: through
// the dialog's pre-translation and keyboard interface, then pumped.
void Key(HWND target, UINT message, UINT vk, bool shift = false, bool control = false);
// The Menu key on `control`, then `menuKeys` (WM_KEYDOWN) in the menu that opens.
void ContextMenuKeys(HWND control, const std::vector<UINT>& menuKeys);

// Dispatches posted messages and pending WM_PAINT until the queue is empty.
void PumpMessages();

// A window's client area as 0x00RRGGBB, rows top-down.
struct Capture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};
Capture CaptureClient(HWND hWnd);

// A file question: open or save, the default extension (the title), the filter, the flags.
using FileRequest = std::tuple<bool, std::string, std::string, unsigned>;

// Installs recording providers for message boxes and file dialogs for its
// lifetime; the defaults come back when it ends.
class RecordingProviders {
public:
    RecordingProviders();
    ~RecordingProviders();
    RecordingProviders(const RecordingProviders&) = delete;
    RecordingProviders& operator=(const RecordingProviders&) = delete;

    // Runs while each question is open, before it is answered.
    std::function<void()> onQuestion;
    std::vector<std::string> boxes;  // the messages shown
    std::vector<FileRequest> fileRequests;
    std::deque<std::string> fileAnswers;  // chosen paths in order; cancel once they run out
};

}  // namespace driver
