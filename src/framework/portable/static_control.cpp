// The Static control: aligned text, and STN_CLICKED/STN_DBLCLK for SS_NOTIFY.
#include "window_system.h"

namespace portable {

namespace {

constexpr DWORD kAlignMask = 0x03;

void Paint(Window* w) {
    PAINTSTRUCT ps;
    BeginPaint(w->handle, &ps);
    const DrawTarget client = ClientTarget(w);
    const SIZE size = ClientSize(w);
    FillOn(client, {0, 0, size.cx, size.cy}, GetSysColor(COLOR_3DFACE));
    const Font& font = FontOf(w);
    const int width = TextWidth(font, w->text);
    int x = 0;
    if ((w->style & kAlignMask) == SS_CENTER) x = (static_cast<int>(size.cx) - width) / 2;
    if ((w->style & kAlignMask) == SS_RIGHT) x = static_cast<int>(size.cx) - width;
    TextOn(client, font, x, 0, w->text, GetSysColor(COLOR_WINDOWTEXT), nullptr);
    EndPaint(w->handle, &ps);
}

}  // namespace

LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    switch (message) {
        case WM_LBUTTONDOWN:
            if (w->style & SS_NOTIFY) NotifyParent(w, STN_CLICKED);
            return 0;
        case WM_LBUTTONDBLCLK:
            if (w->style & SS_NOTIFY) NotifyParent(w, STN_DBLCLK);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(w);
            return 0;
        default:
            return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

}  // namespace portable
