// Keyboard navigation of modeless dialogs in any host's message loop. A host
// loop that knows nothing of our window never calls IsDialogMessage for it,
// so Tab, Shift+Tab, Enter and Escape would do nothing. A WH_GETMESSAGE hook
// on the dialog's thread, present while such a dialog exists, runs the
// keyboard messages of the dialog and its controls through the dialog's
// PreTranslateMessage and IsDialogMessage
// and turns those it handled into WM_NULL.
#include <algorithm>
#include <vector>

#include "../backend.h"

namespace {

struct ThreadDialogs {
    HHOOK hook = nullptr;
    std::vector<HWND> dialogs;
};

// Exists while the thread has a dialog. A pointer, not an object: a thread_local
// with a destructor would keep the DLL loaded for as long as the thread lives.
thread_local ThreadDialogs* t_dialogs = nullptr;

HWND DialogOf(HWND target) {
    for (HWND dialog : t_dialogs->dialogs)
        if (target == dialog || IsChild(dialog, target)) return dialog;
    return nullptr;
}

// A menu's own loop takes the keys while it tracks; they are not the dialog's.
bool InMenu() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetCurrentThreadId(), &info) &&
           (info.flags & (GUI_INMENUMODE | GUI_POPUPMENUMODE | GUI_SYSTEMMENUMODE)) != 0;
}

LRESULT CALLBACK RouteKeyboard(int code, WPARAM removal, LPARAM lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (t_dialogs && code == HC_ACTION && removal == PM_REMOVE && msg->message >= WM_KEYFIRST &&
        msg->message <= WM_KEYLAST && !InMenu()) {
        HWND dialog = DialogOf(msg->hwnd);
        // The dialog's own pre-translation first, as a framework loop runs it.
        if (dialog && (AfxPreTranslateDialogMessage(dialog, msg) || IsDialogMessageA(dialog, msg))) {
            msg->message = WM_NULL;
            msg->wParam = 0;
            msg->lParam = 0;
        }
    }
    // The dialog may have ended inside IsDialogMessage, and the hook with it;
    // CallNextHookEx ignores its handle.
    return CallNextHookEx(nullptr, code, removal, lParam);
}

}  // namespace

void BackendDialogCreated(HWND dialog) {
    if (!dialog) return;
    if (!t_dialogs) {
        t_dialogs = new ThreadDialogs;
        t_dialogs->hook = SetWindowsHookExA(WH_GETMESSAGE, &RouteKeyboard, nullptr, GetCurrentThreadId());
    }
    t_dialogs->dialogs.push_back(dialog);
}

void BackendDialogEnded(HWND dialog) {
    if (!t_dialogs) return;
    auto& list = t_dialogs->dialogs;
    list.erase(std::remove(list.begin(), list.end(), dialog), list.end());
    if (!list.empty()) return;
    if (t_dialogs->hook) UnhookWindowsHookEx(t_dialogs->hook);
    delete t_dialogs;
    t_dialogs = nullptr;
}
