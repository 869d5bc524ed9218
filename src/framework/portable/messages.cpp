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

namespace {

bool IsTabStop(const Window* c) {
    return c && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED);
}

// Tab and Shift+Tab: the next or previous tab stop after the focus, round
// the dialog; an edit reached this way has its text selected.
void MoveFocus(Window* dialog, bool backwards) {
    std::vector<HWND> stops;
    for (HWND child : dialog->children) {
        if (IsTabStop(FindWindowRecord(child))) stops.push_back(child);
    }
    if (stops.empty()) return;
    const auto at = std::find(stops.begin(), stops.end(), GetFocus());
    const int count = static_cast<int>(stops.size());
    int index = at == stops.end() ? (backwards ? 0 : -1) : static_cast<int>(at - stops.begin());
    index = ((backwards ? index - 1 : index + 1) % count + count) % count;
    HWND next = stops[static_cast<size_t>(index)];
    if (FindWindowRecord(next)->kind == WindowKind::Edit) SendMessageA(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

void PressButton(HWND hDlg, int id) {
    SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, id)));
}

}  // namespace

// The dialog's keyboard interface: Tab, Shift+Tab, Enter (IDOK) and Escape
// (IDCANCEL); every other message for the dialog or its controls is dispatched.
BOOL IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
    Window* dialog = FindWindowRecord(hDlg);
    const Window* target = lpMsg ? FindWindowRecord(lpMsg->hwnd) : nullptr;
    if (!dialog || dialog->kind != WindowKind::Dialog || !target ||
        TopLevelOf(const_cast<Window*>(target)) != dialog) {
        return FALSE;
    }
    const bool key = lpMsg->message == WM_KEYDOWN || lpMsg->message == WM_CHAR;
    const WPARAM code = lpMsg->wParam;
    // An open drop-down list takes Enter and Escape itself.
    const bool listOpen = target->kind == WindowKind::ComboBox && FindWindowRecord(target->list);
    if (key && !listOpen &&
        (code == VK_TAB || code == VK_RETURN || code == VK_ESCAPE || code == '\r' || code == 0x1B)) {
        if (lpMsg->message == WM_CHAR) return TRUE;  // the key itself has acted
        if (code == VK_TAB) MoveFocus(dialog, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
        if (code == VK_RETURN) PressButton(hDlg, IDOK);
        if (code == VK_ESCAPE) PressButton(hDlg, IDCANCEL);
        return TRUE;
    }
    DispatchMessageA(lpMsg);
    return TRUE;
}

short GetKeyState(int nVirtKey) {
    return nVirtKey == VK_SHIFT && System().shiftDown ? static_cast<short>(0x8000) : 0;
}

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
