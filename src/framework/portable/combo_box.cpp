// The ComboBox control as a drop-down list without strings: item data by
// index, the selection, and the selection field drawn by the parent
// through WM_DRAWITEM.
#include <algorithm>

#include "window_system.h"

namespace portable {

namespace {

constexpr int kItemSpacing = 3;  // item height beyond the font's
constexpr int kArrowWidth = 17;
constexpr int kFieldInset = 3;

bool ValidIndex(const Window* w, WPARAM index) { return static_cast<size_t>(index) < w->items.size(); }

LRESULT InsertItem(Window* w, WPARAM wParam, LPARAM lParam) {
    const int count = static_cast<int>(w->items.size());
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    if (index == -1) index = count;
    if (index < 0 || index > count) return CB_ERR;
    // Without CBS_HASSTRINGS the "string" is the item's data.
    const UINT_PTR data = (w->style & CBS_HASSTRINGS) ? 0 : static_cast<UINT_PTR>(lParam);
    w->items.insert(w->items.begin() + index, data);
    if (w->curSel >= index) ++w->curSel;
    InvalidateTree(w);
    return index;
}

LRESULT SetCurSel(Window* w, WPARAM wParam) {
    InvalidateTree(w);
    if (!ValidIndex(w, wParam)) {
        w->curSel = -1;
        return CB_ERR;
    }
    w->curSel = static_cast<int>(wParam);
    return w->curSel;
}

void DrawSelection(Window* w, HDC hdc, const SIZE& size) {
    if (w->curSel < 0 || !ValidIndex(w, static_cast<WPARAM>(w->curSel))) return;
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_COMBOBOX;
    item.CtlID = static_cast<UINT>(w->id);
    item.itemID = static_cast<UINT>(w->curSel);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ODS_COMBOBOXEDIT | (GetFocus() == w->handle ? ODS_SELECTED | ODS_FOCUS : 0);
    item.hwndItem = w->handle;
    item.hDC = hdc;
    item.rcItem = {kFieldInset, kFieldInset, size.cx - kArrowWidth - 1, size.cy - kFieldInset};
    item.itemData = w->items[static_cast<size_t>(w->curSel)];
    SendMessageA(w->parent, WM_DRAWITEM, static_cast<WPARAM>(w->id), reinterpret_cast<LPARAM>(&item));
}

// The arrows, Home, End and the wheel step the selection of a closed list,
// each change reported as CBN_SELCHANGE.
LRESULT Step(Window* w, int to) {
    const int last = static_cast<int>(w->items.size()) - 1;
    to = std::max(0, std::min(last, to));
    if (last < 0 || to == w->curSel) return 0;
    w->curSel = to;
    InvalidateTree(w);
    NotifyParent(w, CBN_SELCHANGE);
    return 0;
}

LRESULT OnKeyDown(Window* w, WPARAM key) {
    switch (key) {
        case VK_UP:
        case VK_LEFT:
            return Step(w, w->curSel - 1);
        case VK_DOWN:
        case VK_RIGHT:
            return Step(w, w->curSel + 1);
        case VK_HOME:
            return Step(w, 0);
        case VK_END:
            return Step(w, static_cast<int>(w->items.size()) - 1);
        default:
            return 0;
    }
}

void Paint(Window* w) {
    PAINTSTRUCT ps;
    HWND hWnd = w->handle;
    BeginPaint(hWnd, &ps);
    const DrawTarget client = ClientTarget(w);
    const SIZE size = ClientSize(w);
    const RECT all = {0, 0, size.cx, size.cy};
    FillOn(client, all, GetSysColor(COLOR_WINDOW));
    const RECT arrow = {size.cx - kArrowWidth, 0, size.cx, size.cy};
    FillOn(client, arrow, GetSysColor(COLOR_3DFACE));
    const int cx = arrow.left + kArrowWidth / 2;
    const int cy = static_cast<int>(size.cy) / 2 - 1;
    for (int i = 0; i < 4; ++i) FillOn(client, {cx - 3 + i, cy + i, cx + 4 - i, cy + i + 1}, RGB(96, 96, 96));
    FrameOn(client, all, RGB(122, 122, 122));
    DrawSelection(w, ps.hdc, size);
    EndPaint(hWnd, &ps);
}

}  // namespace

LRESULT CALLBACK ComboBoxWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return 0;
    switch (message) {
        case CB_INSERTSTRING:
            return InsertItem(w, wParam, lParam);
        case CB_SETCURSEL:
            return SetCurSel(w, wParam);
        case CB_GETCURSEL:
            return w->curSel;
        case CB_GETCOUNT:
            return static_cast<LRESULT>(w->items.size());
        case CB_GETITEMDATA:
            return ValidIndex(w, wParam) ? static_cast<LRESULT>(w->items[wParam]) : CB_ERR;
        case CB_SETITEMDATA:
            if (!ValidIndex(w, wParam)) return CB_ERR;
            w->items[wParam] = static_cast<UINT_PTR>(lParam);
            return TRUE;
        case CB_RESETCONTENT:
            w->items.clear();
            w->curSel = -1;
            InvalidateTree(w);
            return 0;
        case CB_GETITEMHEIGHT:
            return MetricsOf(FontOf(w)).height + kItemSpacing;
        case CB_SHOWDROPDOWN:
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return FALSE;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            InvalidateTree(w);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hWnd);
            return 0;
        case WM_KEYDOWN:
            return OnKeyDown(w, wParam);
        case WM_MOUSEWHEEL:
            return Step(w, w->curSel + (GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1));
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
