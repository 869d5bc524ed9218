// Input state of the portable window system: the keyboard focus, the mouse
// capture and the Shift key.
#include "window_system.h"

using namespace portable;

HWND GetFocus() { return FindWindowRecord(System().focus) ? System().focus : nullptr; }

HWND SetFocus(HWND hWnd) {
    WindowSystem& system = System();
    if (hWnd) {
        const Window* w = FindWindowRecord(hWnd);
        if (!w) return nullptr;
        for (; w; w = IsTopLevel(w) ? nullptr : FindWindowRecord(w->parent)) {
            if (w->style & WS_DISABLED) return nullptr;
        }
    }
    HWND previous = GetFocus();
    if (previous == hWnd) return previous;
    system.focus = hWnd;
    if (previous) SendMessageA(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (hWnd && system.focus == hWnd) SendMessageA(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetCapture() { return FindWindowRecord(System().capture) ? System().capture : nullptr; }

HWND SetCapture(HWND hWnd) {
    if (!FindWindowRecord(hWnd)) return nullptr;
    HWND previous = GetCapture();
    System().capture = hWnd;
    if (previous && previous != hWnd) {
        SendMessageA(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    }
    return previous;
}

BOOL ReleaseCapture() {
    HWND previous = GetCapture();
    System().capture = nullptr;
    if (previous) SendMessageA(previous, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

short GetKeyState(int nVirtKey) {
    const bool down =
        (nVirtKey == VK_SHIFT && System().shiftDown) || (nVirtKey == VK_CONTROL && System().controlDown);
    return down ? static_cast<short>(0x8000) : 0;
}
