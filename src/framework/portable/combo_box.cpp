// The ComboBox control as a drop-down list without strings: item data by
// index, the selection, the selection field and the items of the dropped
// list drawn by the parent through WM_DRAWITEM. The dropped list is a popup
// window of its own, as Win32's is, so that it may reach beyond the dialog.
//
// Index of this file:
// [SECTION] Opening and closing the list
// [SECTION] Items and the selection
// [SECTION] Keyboard
// [SECTION] Painting and the window procedure
// [SECTION] The dropped list
#include <algorithm>

#include "window_system.h"

namespace portable {

namespace {

constexpr int kItemSpacing = 3;  // item height beyond the font's
constexpr int kArrowWidth = 17;
constexpr int kFieldInset = 3;

bool ValidIndex(const Window* w, WPARAM index) { return static_cast<size_t>(index) < w->items.size(); }

int ItemHeight(const Window* w) { return MetricsOf(FontOf(w)).height + kItemSpacing; }
int Count(const Window* w) { return static_cast<int>(w->items.size()); }

// [SECTION] Opening and closing the list

// The rows the list shows: what the template's height leaves below the field.
int ListRows(const Window* combo) {
    const int field = combo->rect.bottom - combo->rect.top;
    return std::min(Count(combo), std::max(1, (combo->dropHeight - field) / ItemHeight(combo)));
}

void CloseList(Window* combo) {
    HWND list = combo->list;
    if (!FindWindowRecord(list)) return;
    combo->list = nullptr;
    if (GetCapture() == list) ReleaseCapture();
    DestroyWindow(list);
}

// The list opens under the field, above it when the screen has no room
// below, with the selection in view; it takes the mouse until it closes.
void DropList(Window* combo) {
    if (FindWindowRecord(combo->list) || combo->items.empty()) return;
    const RECT field = ScreenWindowRect(combo);
    const int rows = ListRows(combo);
    const int height = rows * ItemHeight(combo) + 2;
    RECT client = {field.left, field.bottom, field.right, field.bottom + height};
    const RECT work = DesktopWorkArea(TopLevelOf(combo));
    if (client.bottom > work.bottom && field.top - height >= work.top) {
        client = {field.left, field.top - height, field.right, field.top};
    }
    Window probe;
    probe.style = WS_POPUP;
    const RECT frame = FrameInsets(&probe);
    const RECT rect = {client.left - frame.left, client.top - frame.top, client.right + frame.right,
                       client.bottom + frame.bottom};
    Window* list = CreateWindowRecord(WindowKind::ComboList, "ComboLBox", WS_POPUP, 0, rect, combo->handle, 0,
                                      "", &ComboListWindowProc);
    list->font = &FontOf(combo);
    list->hot = std::max(0, combo->curSel);
    list->topIndex = std::max(0, std::min(list->hot, Count(combo) - rows));
    combo->list = list->handle;
    ShowWindow(list->handle, SW_SHOW);
    if (IsWindow(list->handle)) SetCapture(list->handle);
}

LRESULT Step(Window* w, int to);

// A pick from the list closes it; a changed selection is reported.
void PickFromList(Window* combo, int index) {
    CloseList(combo);
    Step(combo, index);
}

// [SECTION] Items and the selection

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

// [SECTION] Keyboard

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

// Keys while the list is open move the item under the mouse; Enter picks it, Escape closes.
LRESULT OnListKey(Window* combo, Window* list, WPARAM key) {
    const int rows = ListRows(combo);
    int hot = list->hot;
    if (key == VK_UP || key == VK_LEFT) hot = std::max(0, hot - 1);
    if (key == VK_DOWN || key == VK_RIGHT) hot = std::min(Count(combo) - 1, hot + 1);
    if (key == VK_RETURN) PickFromList(combo, hot);
    if (key == VK_ESCAPE) CloseList(combo);
    if (key == VK_RETURN || key == VK_ESCAPE) return 0;
    list->hot = hot;
    list->topIndex = std::clamp(list->topIndex, std::max(0, hot - rows + 1), hot);
    InvalidateTree(list);
    return 0;
}

LRESULT OnKeyDown(Window* w, WPARAM key) {
    if (Window* list = FindWindowRecord(w->list)) return OnListKey(w, list, key);
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

// [SECTION] Painting and the window procedure

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
            CloseList(w);
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
            CloseList(w);
            w->items.clear();
            w->curSel = -1;
            InvalidateTree(w);
            return 0;
        case CB_GETITEMHEIGHT:
            return MetricsOf(FontOf(w)).height + kItemSpacing;
        case CB_SHOWDROPDOWN:
            if (wParam) {
                DropList(w);
            } else {
                CloseList(w);
            }
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return FindWindowRecord(w->list) ? TRUE : FALSE;
        case WM_KILLFOCUS:
            CloseList(w);
            if ((w = FindWindowRecord(hWnd))) InvalidateTree(w);
            return 0;
        case WM_SETFOCUS:
            InvalidateTree(w);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hWnd);
            if ((w = FindWindowRecord(hWnd))) DropList(w);
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

// [SECTION] The dropped list

namespace {

// The dropped list's row under a client point, -1 outside it.
int RowAt(const Window* list, const Window* combo, LPARAM lParam) {
    const SIZE size = ClientSize(list);
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam) - 1;
    if (x < 0 || x >= size.cx || y < 0 || y >= size.cy - 2) return -1;
    const int row = list->topIndex + y / ItemHeight(combo);
    return row < Count(combo) ? row : -1;
}

void PaintList(Window* list, Window* combo) {
    PAINTSTRUCT ps;
    HWND hList = list->handle;
    BeginPaint(hList, &ps);
    const SIZE size = ClientSize(list);
    FillOn(ClientTarget(list), {0, 0, size.cx, size.cy}, GetSysColor(COLOR_WINDOW));
    const int h = ItemHeight(combo);
    const HWND owner = combo->parent, hCombo = combo->handle;
    for (int row = 0; row < ListRows(combo); ++row) {
        const int index = list->topIndex + row;
        if (!(list = FindWindowRecord(hList)) || !(combo = FindWindowRecord(hCombo)) || index >= Count(combo))
            break;
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_COMBOBOX;
        item.CtlID = static_cast<UINT>(combo->id);
        item.itemID = static_cast<UINT>(index);
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = index == list->hot ? ODS_SELECTED | ODS_FOCUS : 0;
        item.hwndItem = hCombo;
        item.hDC = ps.hdc;
        item.rcItem = {1, 1 + row * h, size.cx - 1, 1 + (row + 1) * h};
        item.itemData = combo->items[static_cast<size_t>(index)];
        SendMessageA(owner, WM_DRAWITEM, static_cast<WPARAM>(combo->id), reinterpret_cast<LPARAM>(&item));
    }
    if ((list = FindWindowRecord(hList)))
        FrameOn(ClientTarget(list), {0, 0, size.cx, size.cy}, RGB(100, 100, 100));
    EndPaint(hList, &ps);
}

}  // namespace

LRESULT CALLBACK ComboListWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* list = FindWindowRecord(hWnd);
    Window* combo = list ? FindWindowRecord(list->parent) : nullptr;
    if (!combo) return list ? DefWindowProcA(hWnd, message, wParam, lParam) : 0;
    const int row = RowAt(list, combo, lParam);
    switch (message) {
        case WM_MOUSEMOVE:
            if (row >= 0 && row != list->hot) {
                list->hot = row;
                InvalidateTree(list);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (row < 0) CloseList(combo);  // a press outside closes the list, and does nothing else
            return 0;
        case WM_LBUTTONUP:
            if (row >= 0) PickFromList(combo, row);
            return 0;
        case WM_MOUSEWHEEL: {
            const int step = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1;
            list->topIndex =
                std::clamp(list->topIndex + step, 0, std::max(0, Count(combo) - ListRows(combo)));
            InvalidateTree(list);
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lParam) != hWnd) CloseList(combo);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintList(list, combo);
            return 0;
        default:
            return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}

}  // namespace portable
