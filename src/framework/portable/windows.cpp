// Window functions of the Win32 subset: lifetime, state, styles, text and
// coordinates of the portable windows.
//
// Index of this file:
// [SECTION] Lifetime
// [SECTION] Visibility and enabling
// [SECTION] Relatives and classes
// [SECTION] Window longs
// [SECTION] Coordinates
// [SECTION] Text
#include <strings.h>

#include <algorithm>
#include <cstring>

#include "window_system.h"

using namespace portable;

// [SECTION] Lifetime

namespace {

bool Contains(const Window* ancestor, HWND hWnd) {
    for (const Window* w = FindWindowRecord(hWnd); w;
         w = IsTopLevel(w) ? nullptr : FindWindowRecord(w->parent)) {
        if (w == ancestor) return true;
    }
    return false;
}

void Kill(Window* w) {
    WindowSystem& system = System();
    if (IsTopLevel(w)) DesktopDestroyed(w);
    w->alive = false;
    w->surface.clear();
    w->surface.shrink_to_fit();
    if (Window* parent = FindWindowRecord(w->parent)) {
        auto& siblings = parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), w->handle), siblings.end());
    }
    auto& queue = system.queue;
    queue.erase(std::remove_if(queue.begin(), queue.end(), [&](const MSG& m) { return m.hwnd == w->handle; }),
                queue.end());
    EndWindowRecord(w);
}

// Destruction order of Win32: WM_DESTROY from the top down, WM_NCDESTROY
// from the bottom up; owned popups go first.
void DestroyTree(Window* w) {
    WindowSystem& system = System();
    std::vector<HWND> owned;
    for (auto& entry : system.windows) {
        Window* other = entry.second.get();
        if (other->alive && other->parent == w->handle && IsTopLevel(other)) owned.push_back(other->handle);
    }
    for (HWND hOwned : owned) DestroyWindow(hOwned);
    SendMessageA(w->handle, WM_DESTROY, 0, 0);
    const std::vector<HWND> children = w->children;
    for (HWND child : children) {
        if (Window* c = FindWindowRecord(child)) DestroyTree(c);
    }
    SendMessageA(w->handle, WM_NCDESTROY, 0, 0);
    Kill(w);
}

}  // namespace

BOOL DestroyWindow(HWND hWnd) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return FALSE;
    const Busy busy;
    WindowSystem& system = System();
    if (Contains(w, system.focus)) system.focus = nullptr;
    if (Contains(w, system.capture)) system.capture = nullptr;
    if (!IsTopLevel(w)) InvalidateTree(FindWindowRecord(w->parent));
    DestroyTree(w);
    return TRUE;
}

BOOL IsWindow(HWND hWnd) { return FindWindowRecord(hWnd) ? TRUE : FALSE; }

// [SECTION] Visibility and enabling

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return FALSE;
    const bool wasVisible = (w->style & WS_VISIBLE) != 0;
    const bool show = nCmdShow != SW_HIDE;
    if (show == wasVisible) return wasVisible ? TRUE : FALSE;
    SendMessageA(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if (!(w = FindWindowRecord(hWnd))) return wasVisible ? TRUE : FALSE;
    if (show) {
        w->style |= WS_VISIBLE;
        InvalidateTree(w);
    } else {
        w->style &= ~static_cast<DWORD>(WS_VISIBLE);
        if (!IsTopLevel(w)) InvalidateTree(FindWindowRecord(w->parent));
        // A hidden top-level window gives up the focus it holds.
        if (IsTopLevel(w) && Contains(w, System().focus)) SetFocus(nullptr);
    }
    if (IsTopLevel(w)) DesktopShow(w, show);
    return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hWnd) {
    const Window* w = FindWindowRecord(hWnd);
    return w && IsShown(w) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return FALSE;
    const bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (bEnable) {
        w->style &= ~static_cast<DWORD>(WS_DISABLED);
    } else {
        w->style |= WS_DISABLED;
        if (Contains(w, System().focus)) SetFocus(nullptr);
    }
    if (wasDisabled != !bEnable) {
        InvalidateTree(w);
        SendMessageA(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hWnd) {
    const Window* w = FindWindowRecord(hWnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL BringWindowToTop(HWND hWnd) { return IsWindow(hWnd); }

// [SECTION] Relatives and classes

HWND GetParent(HWND hWnd) {
    const Window* w = FindWindowRecord(hWnd);
    if (!w) return nullptr;
    if ((w->style & WS_CHILD) || (w->style & WS_POPUP))
        return FindWindowRecord(w->parent) ? w->parent : nullptr;
    return nullptr;
}

HWND GetDlgItem(HWND hDlg, int nIDDlgItem) {
    const Window* w = FindWindowRecord(hDlg);
    if (!w) return nullptr;
    for (HWND child : w->children) {
        const Window* c = FindWindowRecord(child);
        if (c && c->id == nIDDlgItem) return child;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hWnd) {
    const Window* w = FindWindowRecord(hWnd);
    return w && !IsTopLevel(w) ? w->id : 0;
}

HWND FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName) {
    // The newest window wins, as the top of the z-order does.
    uintptr_t found = 0;
    for (auto& entry : System().windows) {
        const Window* w = entry.second.get();
        if (!w->alive || !IsTopLevel(w) || entry.first < found) continue;
        if (lpClassName && strcasecmp(lpClassName, w->className) != 0) continue;
        if (lpWindowName && w->text != lpWindowName) continue;
        found = entry.first;
    }
    return reinterpret_cast<HWND>(found);
}

int GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
    const Window* w = FindWindowRecord(hWnd);
    if (!w || !lpClassName || nMaxCount <= 0) return 0;
    const int length = std::min(static_cast<int>(std::strlen(w->className)), nMaxCount - 1);
    std::memcpy(lpClassName, w->className, static_cast<size_t>(length));
    lpClassName[length] = '\0';
    return length;
}

// [SECTION] Window longs

namespace {

constexpr int kIdIndex = -12;  // GWLP_ID

}  // namespace

LONG_PTR GetWindowLongPtrA(HWND hWnd, int nIndex) {
    const Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    switch (nIndex) {
        case GWL_STYLE:
            return static_cast<LONG_PTR>(w->style);
        case GWL_EXSTYLE:
            return static_cast<LONG_PTR>(w->exStyle);
        case kIdIndex:
            return w->id;
        case DWLP_MSGRESULT:
            return w->kind == WindowKind::Dialog ? w->msgResult : 0;
        case DWLP_USER:
            return w->kind == WindowKind::Dialog ? w->user : 0;
        default:
            return 0;
    }
}

LONG GetWindowLongA(HWND hWnd, int nIndex) { return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex)); }

LONG_PTR SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    const LONG_PTR previous = GetWindowLongPtrA(hWnd, nIndex);
    switch (nIndex) {
        case GWL_STYLE:
            w->style = static_cast<DWORD>(dwNewLong);
            break;
        case GWL_EXSTYLE:
            w->exStyle = static_cast<DWORD>(dwNewLong);
            break;
        case kIdIndex:
            w->id = static_cast<int>(dwNewLong);
            break;
        case DWLP_MSGRESULT:
            if (w->kind == WindowKind::Dialog) w->msgResult = dwNewLong;
            break;
        case DWLP_USER:
            if (w->kind == WindowKind::Dialog) w->user = dwNewLong;
            break;
        default:
            return 0;
    }
    return previous;
}

// [SECTION] Coordinates

BOOL GetWindowRect(HWND hWnd, LPRECT lpRect) {
    const Window* w = FindWindowRecord(hWnd);
    if (!w || !lpRect) return FALSE;
    *lpRect = ScreenWindowRect(w);
    return TRUE;
}

BOOL GetClientRect(HWND hWnd, LPRECT lpRect) {
    const Window* w = FindWindowRecord(hWnd);
    if (!w || !lpRect) return FALSE;
    const SIZE size = ClientSize(w);
    *lpRect = {0, 0, size.cx, size.cy};
    return TRUE;
}

BOOL ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    const Window* w = FindWindowRecord(hWnd);
    if (!w || !lpPoint) return FALSE;
    const POINT origin = ScreenClientOrigin(w);
    lpPoint->x -= origin.x;
    lpPoint->y -= origin.y;
    return TRUE;
}

BOOL ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    const Window* w = FindWindowRecord(hWnd);
    if (!w || !lpPoint) return FALSE;
    const POINT origin = ScreenClientOrigin(w);
    lpPoint->x += origin.x;
    lpPoint->y += origin.y;
    return TRUE;
}

// [SECTION] Text

BOOL SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    if (!IsWindow(hWnd)) return FALSE;
    return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    if (!lpString || nMaxCount <= 0) return 0;
    lpString[0] = '\0';
    if (!IsWindow(hWnd)) return 0;
    return static_cast<int>(
        SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int GetWindowTextLengthA(HWND hWnd) { return static_cast<int>(SendMessageA(hWnd, WM_GETTEXTLENGTH, 0, 0)); }
