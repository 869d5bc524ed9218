// The single-line Edit control: typing, selection, replacement and the
// EN_UPDATE/EN_CHANGE notifications that every change raises.
#include <algorithm>

#include "window_system.h"

namespace portable {

namespace {

constexpr int kTextLeft = 2;
constexpr COLORREF kBorder = RGB(122, 122, 122);

int SelStart(const Window* w) { return std::min(w->selAnchor, w->selCaret); }
int SelEnd(const Window* w) { return std::max(w->selAnchor, w->selCaret); }

void NotifyChange(HWND hWnd) {
    if (Window* w = FindWindowRecord(hWnd)) NotifyParent(w, EN_UPDATE);
    if (Window* w = FindWindowRecord(hWnd)) NotifyParent(w, EN_CHANGE);
}

void ReplaceSelection(Window* w, const std::string& text) {
    const int start = SelStart(w);
    w->text.replace(static_cast<size_t>(start), static_cast<size_t>(SelEnd(w) - start), text);
    w->selAnchor = w->selCaret = start + static_cast<int>(text.size());
    InvalidateTree(w);
}

LRESULT OnChar(Window* w, WPARAM code) {
    if (w->style & ES_READONLY) return 0;
    if (code == '\b') {
        if (SelStart(w) == SelEnd(w)) {
            if (w->selCaret == 0) return 0;
            w->selAnchor = w->selCaret - 1;
        }
        ReplaceSelection(w, std::string());
    } else if (code >= 0x20 && code < 0x100 && code != 0x7F) {
        ReplaceSelection(w, std::string(1, static_cast<char>(code)));
    } else {
        return 0;
    }
    NotifyChange(w->handle);
    return 0;
}

LRESULT OnSetSel(Window* w, WPARAM wParam, LPARAM lParam) {
    const int length = static_cast<int>(w->text.size());
    int start = static_cast<int>(static_cast<INT_PTR>(wParam));
    int end = static_cast<int>(lParam);
    if (start == -1) {
        w->selAnchor = w->selCaret;  // -1 removes the selection
    } else {
        if (start < 0 || start > length) start = length;
        if (end < 0 || end > length) end = length;
        w->selAnchor = start;
        w->selCaret = end;
    }
    InvalidateTree(w);
    return 0;
}

LRESULT OnGetSel(const Window* w, WPARAM wParam, LPARAM lParam) {
    const int start = SelStart(w);
    const int end = SelEnd(w);
    if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(start);
    if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(end);
    return (start > 0xFFFF || end > 0xFFFF) ? -1 : static_cast<LRESULT>(MAKELONG(start, end));
}

// The character boundary nearest to a client x: where a click puts the caret.
int IndexAt(const Window* w, int x) {
    const Font& font = FontOf(w);
    int best = 0;
    for (int i = 1; i <= static_cast<int>(w->text.size()); ++i) {
        const int left = kTextLeft + TextWidth(font, w->text.substr(0, static_cast<size_t>(i - 1)));
        const int right = kTextLeft + TextWidth(font, w->text.substr(0, static_cast<size_t>(i)));
        if (x >= (left + right) / 2) best = i;
    }
    return best;
}

// Moves the caret; with Shift held the anchor stays, extending the selection.
LRESULT OnKeyDown(Window* w, WPARAM key) {
    const int length = static_cast<int>(w->text.size());
    int caret = w->selCaret;
    switch (key) {
        case VK_LEFT:
        case VK_UP:
            caret = std::max(0, caret - 1);
            break;
        case VK_RIGHT:
        case VK_DOWN:
            caret = std::min(length, caret + 1);
            break;
        case VK_HOME:
            caret = 0;
            break;
        case VK_END:
            caret = length;
            break;
        case VK_DELETE:
            if (w->style & ES_READONLY) return 0;
            if (SelStart(w) == SelEnd(w)) {
                if (caret == length) return 0;
                w->selAnchor = caret + 1;
            }
            ReplaceSelection(w, std::string());
            NotifyChange(w->handle);
            return 0;
        default:
            return 0;
    }
    w->selCaret = caret;
    if (!(GetKeyState(VK_SHIFT) & 0x8000)) w->selAnchor = caret;
    InvalidateTree(w);
    return 0;
}

void Paint(Window* w) {
    PAINTSTRUCT ps;
    BeginPaint(w->handle, &ps);
    const DrawTarget client = ClientTarget(w);
    const bool grey = (w->style & (ES_READONLY | WS_DISABLED)) != 0;
    FillOn(client, ps.rcPaint, GetSysColor(grey ? COLOR_3DFACE : COLOR_WINDOW));
    const bool focused = GetFocus() == w->handle;
    const Font& font = FontOf(w);
    const int height = MetricsOf(font).height;
    const int y = std::max(0, (static_cast<int>(ps.rcPaint.bottom) - height) / 2);
    // The selection is drawn over its own background, between the offsets of its ends.
    const auto offset = [&](int index) {
        return kTextLeft + TextWidth(font, w->text.substr(0, static_cast<size_t>(index)));
    };
    TextOn(client, font, kTextLeft, y, w->text, GetSysColor(COLOR_WINDOWTEXT), nullptr);
    if (focused && SelStart(w) != SelEnd(w)) {
        const COLORREF background = GetSysColor(COLOR_HIGHLIGHT);
        const std::string selected =
            w->text.substr(static_cast<size_t>(SelStart(w)), static_cast<size_t>(SelEnd(w) - SelStart(w)));
        TextOn(client, font, offset(SelStart(w)), y, selected, GetSysColor(COLOR_HIGHLIGHTTEXT), &background);
    } else if (focused && !(w->style & ES_READONLY)) {
        const int x = offset(w->selCaret);
        FillOn(client, {x, y, x + 1, y + height}, GetSysColor(COLOR_WINDOWTEXT));
    }
    if (w->style & WS_BORDER) {
        const RECT outer = ScreenWindowRect(w);
        FrameOn(WindowTarget(w), {0, 0, outer.right - outer.left, outer.bottom - outer.top}, kBorder);
    }
    EndPaint(w->handle, &ps);
}

}  // namespace

LRESULT CALLBACK EditWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    switch (message) {
        case WM_CONTEXTMENU:
            return 0;  // an edit's context menu is its own; it is not passed on
        case WM_CHAR:
            return OnChar(w, wParam);
        case WM_KEYDOWN:
            return OnKeyDown(w, wParam);
        case EM_SETSEL:
            return OnSetSel(w, wParam, lParam);
        case EM_GETSEL:
            return OnGetSel(w, wParam, lParam);
        case EM_REPLACESEL:
            ReplaceSelection(w, lParam ? reinterpret_cast<const char*>(lParam) : "");
            NotifyChange(hWnd);
            return 0;
        case EM_SETREADONLY:
            if (wParam) {
                w->style |= ES_READONLY;
            } else {
                w->style &= ~static_cast<DWORD>(ES_READONLY);
            }
            InvalidateTree(w);
            return TRUE;
        case WM_SETTEXT:
            // Every WM_SETTEXT notifies, even when the text stays the same.
            w->text = lParam ? reinterpret_cast<const char*>(lParam) : "";
            w->selAnchor = w->selCaret = 0;
            InvalidateTree(w);
            NotifyChange(hWnd);
            return TRUE;
        case WM_SETFOCUS:
            InvalidateTree(w);
            NotifyParent(w, EN_SETFOCUS);
            return 0;
        case WM_KILLFOCUS:
            InvalidateTree(w);
            NotifyParent(w, EN_KILLFOCUS);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hWnd);
            if ((w = FindWindowRecord(hWnd))) {
                w->selCaret = IndexAt(w, GET_X_LPARAM(lParam));
                if (!(GetKeyState(VK_SHIFT) & 0x8000)) w->selAnchor = w->selCaret;
                InvalidateTree(w);
            }
            return 0;
        case WM_MOUSEWHEEL:
            return 0;  // an edit keeps the wheel (it scrolls); it does not reach the dialog
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
