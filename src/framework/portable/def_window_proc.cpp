// The default window procedure of the portable window system: text,
// painting, closing and the wheel for every window class.
#include <algorithm>
#include <cstring>

#include "window_system.h"

using namespace portable;

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    switch (Msg) {
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            if (!IsTopLevel(w)) InvalidateTree(w);  // a caption is not client area
            if (IsTopLevel(w)) DesktopCaption(w);
            return TRUE;
        case WM_GETTEXT: {
            if (wParam == 0 || !lParam) return 0;
            char* buffer = reinterpret_cast<char*>(lParam);
            const size_t length = std::min(w->text.size(), static_cast<size_t>(wParam) - 1);
            std::memcpy(buffer, w->text.data(), length);
            buffer[length] = '\0';
            return static_cast<LRESULT>(length);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(w->text.size());
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hWnd, &ps);
            EndPaint(hWnd, &ps);
            return 0;
        }
        case WM_CLOSE:
            DestroyWindow(hWnd);
            return 0;
        // As Win32's: Shift+F10 and the menu key ask for a context menu with
        // lParam -1, a right-button release with the point on the screen;
        // a child passes the request to its parent.
        case WM_SYSKEYDOWN:
            if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000))
                SendMessageA(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), -1);
            if (wParam == VK_SPACE) SendMessageA(TopLevelOf(w)->handle, WM_SYSCOMMAND, SC_KEYMENU, ' ');
            return 0;
        case WM_KEYUP:
            if (wParam == VK_APPS) SendMessageA(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), -1);
            return 0;
        case WM_RBUTTONUP: {
            POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(hWnd, &point);
            SendMessageA(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(point.x, point.y));
            return 0;
        }
        case WM_CONTEXTMENU:
            if (!IsTopLevel(w)) return SendMessageA(w->parent, Msg, wParam, lParam);
            return 0;
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == ' ' && System().trackSystemMenu)
                System().trackSystemMenu(hWnd);
            if ((wParam & 0xFFF0) == SC_CLOSE) SendMessageA(hWnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_MOUSEWHEEL:
            // Unhandled wheel input goes up the parent chain.
            if (!IsTopLevel(w)) return SendMessageA(w->parent, Msg, wParam, lParam);
            return 0;
        default:
            return 0;
    }
}
