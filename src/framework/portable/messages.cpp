// Messages of the portable window system: sending, the posted queue with
// WM_PAINT for invalid windows, default processing, focus and capture.
#include <algorithm>
#include <cstring>

#include "window_system.h"

using namespace portable;

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    const Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    const Busy busy;
    WNDPROC proc = w->proc;
    return proc ? proc(hWnd, Msg, wParam, lParam) : DefWindowProcA(hWnd, Msg, wParam, lParam);
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd && !IsWindow(hWnd)) return FALSE;
    MSG message{};
    message.hwnd = hWnd;
    message.message = Msg;
    message.wParam = wParam;
    message.lParam = lParam;
    System().queue.push_back(message);
    return TRUE;
}

namespace {

bool InRange(UINT message, UINT first, UINT last) {
    return (first == 0 && last == 0) || (message >= first && message <= last);
}

// The oldest shown window that needs painting: parents come before their
// children because they are created first.
HWND InvalidWindow(HWND filter) {
    if (filter) {
        const Window* w = FindWindowRecord(filter);
        return w && w->invalid && IsShown(w) ? filter : nullptr;
    }
    uintptr_t found = 0;
    for (auto& entry : System().windows) {
        const Window* w = entry.second.get();
        if (!w->alive || !w->invalid || !IsShown(w)) continue;
        if (!found || entry.first < found) found = entry.first;
    }
    return reinterpret_cast<HWND>(found);
}

}  // namespace

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg) return FALSE;
    auto& queue = System().queue;
    for (auto it = queue.begin(); it != queue.end(); ++it) {
        if (hWnd && it->hwnd != hWnd) continue;
        if (!InRange(it->message, wMsgFilterMin, wMsgFilterMax)) continue;
        *lpMsg = *it;
        if (wRemoveMsg & PM_REMOVE) queue.erase(it);
        return TRUE;
    }
    if (!InRange(WM_PAINT, wMsgFilterMin, wMsgFilterMax)) return FALSE;
    HWND invalid = InvalidWindow(hWnd);
    if (!invalid) return FALSE;
    *lpMsg = MSG{};
    lpMsg->hwnd = invalid;
    lpMsg->message = WM_PAINT;
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg || !lpMsg->hwnd) return 0;
    const LRESULT result = SendMessageA(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
    // A window that ignores WM_PAINT is validated, or it would be asked forever.
    if (lpMsg->message == WM_PAINT) {
        if (Window* w = FindWindowRecord(lpMsg->hwnd)) w->invalid = false;
    }
    return result;
}

BOOL TranslateMessage(const MSG* /*lpMsg*/) { return FALSE; }

BOOL IsDialogMessageA(HWND /*hDlg*/, LPMSG /*lpMsg*/) { return FALSE; }

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    switch (Msg) {
        case WM_SETTEXT:
            w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            if (!IsTopLevel(w)) InvalidateTree(w);  // a caption is not client area
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
        case WM_MOUSEWHEEL:
            // Unhandled wheel input goes up the parent chain.
            if (!IsTopLevel(w)) return SendMessageA(w->parent, Msg, wParam, lParam);
            return 0;
        default:
            return 0;
    }
}

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
    if (!IsWindow(hWnd)) return nullptr;
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

BOOL InvalidateRect(HWND hWnd, const RECT* /*lpRect*/, BOOL /*bErase*/) {
    if (!hWnd) {
        for (auto& entry : System().windows) {
            if (entry.second->alive && IsTopLevel(entry.second.get())) InvalidateTree(entry.second.get());
        }
        return TRUE;
    }
    Window* w = FindWindowRecord(hWnd);
    if (!w) return FALSE;
    InvalidateTree(w);
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return FALSE;
    if (w->invalid && IsShown(w)) {
        SendMessageA(hWnd, WM_PAINT, 0, 0);
        if ((w = FindWindowRecord(hWnd))) w->invalid = false;
    }
    return TRUE;
}

DWORD GetSysColor(int nIndex) {
    switch (nIndex) {
        case COLOR_3DFACE:
            return RGB(240, 240, 240);
        case COLOR_HIGHLIGHT:
            return RGB(0, 120, 215);
        case COLOR_HIGHLIGHTTEXT:
        case COLOR_WINDOW:
            return RGB(255, 255, 255);
        case COLOR_WINDOWTEXT:
            return RGB(0, 0, 0);
        default:
            return RGB(0, 0, 0);
    }
}
