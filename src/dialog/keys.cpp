// Keys that reach the window's commands before its controls see them: the
// shortcuts of the menu, and Up/Down, Page Up/Page Down in the threshold edits.
#include "color_dlg.h"

namespace {

struct Shortcut {
    UINT key;
    bool shift;
    UINT command;
};

// With Ctrl held. The menu lists the same keys beside its items.
constexpr Shortcut kShortcuts[] = {
    {'Z', false, ID_UNDO},           {'Z', true, ID_REDO},
    {'Y', false, ID_REDO},           {'L', false, ID_AUTO_CONTRAST},
    {'R', false, ID_REVERSE_COLORS}, {'O', false, ID_IMPORT_TABLE},
    {'S', false, ID_EXPORT_TABLE},
};

bool Held(int key) { return (::GetKeyState(key) & 0x8000) != 0; }

// Bins a key moves a threshold by: one for the arrows, ten for the page keys.
int BinsOf(WPARAM key) {
    switch (key) {
        case VK_UP:
            return 1;
        case VK_DOWN:
            return -1;
        case VK_PRIOR:
            return 10;
        case VK_NEXT:
            return -10;
        default:
            return 0;
    }
}

}  // namespace

BOOL CColorDlgBase::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN || !m_hWnd) return FALSE;
    if (Held(VK_CONTROL) && !Held(VK_MENU)) {
        for (const Shortcut& s : kShortcuts) {
            if (pMsg->wParam == s.key && Held(VK_SHIFT) == s.shift) {
                RunCommand(s.command);
                return TRUE;
            }
        }
        return FALSE;
    }
    const int bins = BinsOf(pMsg->wParam);
    if (bins == 0) return FALSE;
    const int id = ::GetDlgCtrlID(pMsg->hwnd);
    const bool upper = id == IDC_MAX_PCT || id == IDC_MAX_THR;
    if (!upper && id != IDC_MIN_PCT && id != IDC_MIN_THR) return FALSE;
    if (NudgeThreshold(upper, bins)) RecordStep();
    return TRUE;
}
