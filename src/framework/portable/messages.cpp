// Messages of the portable window system: sending, the posted queue with
// WM_PAINT for invalid windows, and the notifications controls send their
// parents.
#include "window_system.h"

using namespace portable;

LRESULT SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    const Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    const Busy busy;
    // Every window is made with its class's procedure.
    WNDPROC proc = w->proc;
    return proc ? proc(hWnd, Msg, wParam, lParam) : 0;
}

BOOL PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd && !FindWindowRecord(hWnd)) return FALSE;
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

namespace portable {

void NotifyParent(Window* control, int code) {
    HWND parent = control->parent;
    if (!FindWindowRecord(parent)) return;
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(control->id, code),
                 reinterpret_cast<LPARAM>(control->handle));
}

}  // namespace portable
