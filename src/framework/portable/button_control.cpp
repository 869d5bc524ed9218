// The Button control: push buttons and automatic check boxes, clicked by
// the mouse or by BM_CLICK, with BN_CLICKED to the parent.
#include <algorithm>

#include "window_system.h"

namespace portable {

namespace {

constexpr DWORD kTypeMask = 0x0F;
constexpr int kBoxSize = 13;
constexpr int kBoxTextGap = 4;

bool IsCheckBox(const Window* w) { return (w->style & kTypeMask) == BS_AUTOCHECKBOX; }

void Click(HWND hWnd) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return;
    if (IsCheckBox(w)) w->check = w->check == BST_UNCHECKED ? BST_CHECKED : BST_UNCHECKED;
    InvalidateTree(w);
    NotifyParent(w, BN_CLICKED);
}

LRESULT OnButtonUp(Window* w, LPARAM lParam) {
    if (!w->pressed) return 0;
    w->pressed = false;
    HWND hWnd = w->handle;
    if (GetCapture() == hWnd) ReleaseCapture();
    if (!(w = FindWindowRecord(hWnd))) return 0;
    const SIZE size = ClientSize(w);
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    if (x >= 0 && y >= 0 && x < size.cx && y < size.cy) Click(hWnd);
    return 0;
}

void PaintCheckBox(const Window* w, const DrawTarget& client, const SIZE& size) {
    const int top = std::max(0, (static_cast<int>(size.cy) - kBoxSize) / 2);
    const RECT box = {0, top, kBoxSize, top + kBoxSize};
    FillOn(client, box, RGB(255, 255, 255));
    FrameOn(client, box, RGB(51, 51, 51));
    if (w->check == BST_CHECKED) {
        // A tick: down from the left to the bottom, then up to the right.
        for (int i = 0; i < 3; ++i) PutPixelOn(client, 3 + i, top + 6 + i, RGB(0, 0, 0));
        for (int i = 0; i < 5; ++i) PutPixelOn(client, 6 + i, top + 7 - i, RGB(0, 0, 0));
    } else if (w->check == BST_INDETERMINATE) {
        FillOn(client, {3, top + 3, kBoxSize - 3, top + kBoxSize - 3}, RGB(96, 96, 96));
    }
    const Font& font = FontOf(w);
    TextOn(client, font, kBoxSize + kBoxTextGap,
           std::max(0, (static_cast<int>(size.cy) - MetricsOf(font).height) / 2), w->text,
           GetSysColor(COLOR_WINDOWTEXT), nullptr);
}

void PaintPushButton(const Window* w, const DrawTarget& client, const SIZE& size) {
    const RECT all = {0, 0, size.cx, size.cy};
    FillOn(client, all, w->pressed ? RGB(204, 228, 247) : RGB(225, 225, 225));
    const bool isDefault = (w->style & kTypeMask) == BS_DEFPUSHBUTTON;
    FrameOn(client, all, isDefault ? GetSysColor(COLOR_HIGHLIGHT) : RGB(173, 173, 173));
    const Font& font = FontOf(w);
    const int width = TextWidth(font, w->text);
    TextOn(client, font, (static_cast<int>(size.cx) - width) / 2,
           (static_cast<int>(size.cy) - MetricsOf(font).height) / 2, w->text, GetSysColor(COLOR_WINDOWTEXT),
           nullptr);
}

// The dotted rectangle of the control with the focus.
void FocusRect(const DrawTarget& client, const RECT& r) {
    for (LONG x = r.left; x < r.right; x += 2) {
        PutPixelOn(client, x, r.top, RGB(0, 0, 0));
        PutPixelOn(client, x, r.bottom - 1, RGB(0, 0, 0));
    }
    for (LONG y = r.top; y < r.bottom; y += 2) {
        PutPixelOn(client, r.left, y, RGB(0, 0, 0));
        PutPixelOn(client, r.right - 1, y, RGB(0, 0, 0));
    }
}

void Paint(Window* w) {
    PAINTSTRUCT ps;
    BeginPaint(w->handle, &ps);
    const DrawTarget client = ClientTarget(w);
    const SIZE size = ClientSize(w);
    FillOn(client, {0, 0, size.cx, size.cy}, GetSysColor(COLOR_3DFACE));
    if (IsCheckBox(w)) {
        PaintCheckBox(w, client, size);
    } else {
        PaintPushButton(w, client, size);
    }
    if (GetFocus() == w->handle) {
        const int left = IsCheckBox(w) ? kBoxSize + kBoxTextGap - 2 : 3;
        FocusRect(client, {left, 2, size.cx - 2, size.cy - 2});
    }
    EndPaint(w->handle, &ps);
}

}  // namespace

LRESULT CALLBACK ButtonWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    switch (message) {
        case BM_CLICK:
            if (w->style & WS_DISABLED) return 0;
            SendMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageA(hWnd, WM_LBUTTONUP, 0, 0);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // a second click in quick succession presses the button again
            w->pressed = true;
            InvalidateTree(w);
            SetFocus(hWnd);
            SetCapture(hWnd);
            return 0;
        case WM_LBUTTONUP:
            return OnButtonUp(w, lParam);
        case WM_CHAR:
            if (wParam == ' ') Click(hWnd);  // Space presses the button with the focus
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateTree(w);
            return 0;
        case BM_GETCHECK:
            return IsCheckBox(w) ? w->check : BST_UNCHECKED;
        case BM_SETCHECK:
            if (IsCheckBox(w)) {
                w->check = wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? static_cast<int>(wParam)
                                                                                : BST_UNCHECKED;
                InvalidateTree(w);
            }
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
