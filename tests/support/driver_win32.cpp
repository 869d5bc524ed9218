// The Win32 backend's part of the test driver: client pixels are copied from
// the window's device context after its pending paint has run.
#include <algorithm>
#include <iterator>

#include "driver.h"

namespace driver {

Capture CaptureClient(HWND hWnd) {
    RECT client;
    if (!IsWindow(hWnd) || !GetClientRect(hWnd, &client)) return Capture{};
    UpdateWindow(hWnd);
    Capture capture;
    capture.width = client.right - client.left;
    capture.height = client.bottom - client.top;
    if (capture.width <= 0 || capture.height <= 0) return Capture{};

    HDC screen = GetDC(hWnd);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, capture.width, capture.height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, capture.width, capture.height, screen, 0, 0, SRCCOPY) != FALSE;
    SelectObject(memory, previous);
    // 32-bit top-down rows: BGRX in memory reads as 0x00RRGGBB.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, capture.width, -capture.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    capture.pixels.assign(static_cast<size_t>(capture.width) * static_cast<size_t>(capture.height), 0u);
    const bool read = copied && GetDIBits(memory, bitmap, 0, static_cast<UINT>(capture.height),
                                          capture.pixels.data(), &info, DIB_RGB_COLORS) == capture.height;
    for (uint32_t& p : capture.pixels) p &= 0x00FFFFFFu;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(hWnd, screen);
    return read ? capture : Capture{};
}

// Posted, so that the dialog's message hook sees it as the host's loop takes it.
void Key(HWND target, UINT message, UINT vk, bool shift, bool control) {
    BYTE state[256] = {}, saved[256] = {};
    GetKeyboardState(saved);
    std::copy(std::begin(saved), std::end(saved), std::begin(state));
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageA(target, message, vk, 1);
    PumpMessages();
    SetKeyboardState(saved);
}

// The menu's own loop takes the keys queued behind the message that opened
// it: what the system's default processing makes of the Menu key.
void ContextMenuKeys(HWND control, const std::vector<UINT>& menuKeys) {
    PostMessageA(control, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), static_cast<LPARAM>(-1));
    for (UINT key : menuKeys) PostMessageA(control, WM_KEYDOWN, key, 1);
    PumpMessages();
}

}  // namespace driver
