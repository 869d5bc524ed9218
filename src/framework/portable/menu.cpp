// Popup menus of the portable window system: the menu records, the modal
// tracking window that draws and chooses an item, and the system menu.
#include <algorithm>

#include "window_system.h"

using namespace portable;

namespace {

constexpr int kRowSpacing = 6;  // row height beyond the font's
constexpr int kSeparatorHeight = 9;
constexpr int kTextLeft = 24;
constexpr int kTabGap = 24;
constexpr COLORREF kGrayText = RGB(109, 109, 109);

std::vector<PopupMenuItem>* ItemsOf(HMENU hMenu) {
    auto it = System().menus.find(reinterpret_cast<uintptr_t>(hMenu));
    return it == System().menus.end() ? nullptr : &it->second;
}

int RowHeight(const Window* w) { return MetricsOf(FontOf(w)).height + kRowSpacing; }

int HeightOf(const Window* w, const PopupMenuItem& item) {
    return item.separator ? kSeparatorHeight : RowHeight(w);
}

// The label as drawn: mnemonic ampersands dropped, the accelerator after a tab.
std::pair<std::string, std::string> Label(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    const size_t tab = shown.find('\t');
    if (tab == std::string::npos) return {shown, ""};
    return {shown.substr(0, tab), shown.substr(tab + 1)};
}

bool Selectable(const PopupMenuItem& item) { return !item.separator && !item.grayed; }

// The item under a client point, -1 outside every item.
int ItemAt(const Window* w, const std::vector<PopupMenuItem>& items, int x, int y) {
    if (x < 0 || x >= ClientSize(w).cx) return -1;
    int top = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const int bottom = top + HeightOf(w, items[i]);
        if (y >= top && y < bottom) return static_cast<int>(i);
        top = bottom;
    }
    return -1;
}

void End(Window* w, UINT chosen) {
    w->chosen = chosen;
    w->ended = true;
}

// Up and Down move round the items, greyed ones included, as Win32's do;
// only separators are passed over.
void Step(Window* w, const std::vector<PopupMenuItem>& items, int direction) {
    const int count = static_cast<int>(items.size());
    int at = w->hot;
    for (int i = 0; i < count; ++i) {
        at = at < 0 ? (direction > 0 ? 0 : count - 1) : ((at + direction) % count + count) % count;
        if (!items[static_cast<size_t>(at)].separator) {
            w->hot = at;
            InvalidateTree(w);
            return;
        }
    }
}

void Paint(Window* w, const std::vector<PopupMenuItem>& items) {
    PAINTSTRUCT ps;
    BeginPaint(w->handle, &ps);
    const DrawTarget client = ClientTarget(w);
    const SIZE size = ClientSize(w);
    FillOn(client, {0, 0, size.cx, size.cy}, GetSysColor(COLOR_3DFACE));
    const Font& font = FontOf(w);
    int top = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const PopupMenuItem& item = items[i];
        const int height = HeightOf(w, item);
        if (item.separator) {
            FillOn(client, {2, top + height / 2, size.cx - 2, top + height / 2 + 1}, kGrayText);
        } else {
            const bool hot = static_cast<int>(i) == w->hot;
            if (hot) FillOn(client, {0, top, size.cx, top + height}, GetSysColor(COLOR_HIGHLIGHT));
            const COLORREF color = item.grayed ? kGrayText
                                   : hot       ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                               : RGB(0, 0, 0);
            const auto [text, accelerator] = Label(item.text);
            const int y = top + kRowSpacing / 2;
            TextOn(client, font, kTextLeft, y, text, color, nullptr);
            if (!accelerator.empty())
                TextOn(client, font, size.cx - kTabGap - TextWidth(font, accelerator), y, accelerator, color,
                       nullptr);
        }
        top += height;
    }
    EndPaint(w->handle, &ps);
}

SIZE MenuSize(const Window* w, const std::vector<PopupMenuItem>& items) {
    const Font& font = FontOf(w);
    int width = 0, height = 0, accelerators = 0;
    for (const PopupMenuItem& item : items) {
        const auto [text, accelerator] = Label(item.text);
        width = std::max(width, TextWidth(font, text));
        if (!accelerator.empty())
            accelerators = std::max(accelerators, TextWidth(font, accelerator) + kTabGap);
        height += HeightOf(w, item);
    }
    return {kTextLeft + width + accelerators + kTabGap, height};
}

// Alt+Space: the window's system menu at its top-left corner; a choice
// arrives as WM_SYSCOMMAND.
void TrackSystemMenuOf(HWND hWnd) {
    Window* top = TopLevelOf(FindWindowRecord(hWnd));
    if (!top) return;
    const HWND owner = top->handle;
    const RECT frame = ScreenWindowRect(top);
    const HMENU menu = GetSystemMenu(owner, FALSE);
    // As on Win32, the window may bring the items up to date first.
    SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
    if (!FindWindowRecord(owner)) return;
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, frame.left, frame.top, 0, owner, nullptr));
    if (chosen) PostMessageA(owner, WM_SYSCOMMAND, chosen, 0);
}

[[maybe_unused]] const bool g_installed = (System().trackSystemMenu = &TrackSystemMenuOf, true);

}  // namespace

HMENU CreatePopupMenu() {
    const uintptr_t handle = System().nextMenu++;
    System().menus[handle];
    return reinterpret_cast<HMENU>(handle);
}

BOOL AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    std::vector<PopupMenuItem>* items = ItemsOf(hMenu);
    if (!items) return FALSE;
    const bool separator = (uFlags & MF_SEPARATOR) != 0;
    items->push_back({separator || !lpNewItem ? "" : lpNewItem, separator ? 0 : static_cast<UINT>(uIDNewItem),
                      (uFlags & MF_GRAYED) != 0, separator});
    return TRUE;
}

BOOL EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
    std::vector<PopupMenuItem>* items = ItemsOf(hMenu);
    if (!items) return -1;
    for (PopupMenuItem& item : *items) {
        if (item.separator || item.id != uIDEnableItem) continue;
        const BOOL was = item.grayed ? MF_GRAYED : MF_ENABLED;
        item.grayed = (uEnable & MF_GRAYED) != 0;
        return was;
    }
    return -1;
}

BOOL DestroyMenu(HMENU hMenu) {
    return System().menus.erase(reinterpret_cast<uintptr_t>(hMenu)) ? TRUE : FALSE;
}

int GetMenuItemCount(HMENU hMenu) {
    const std::vector<PopupMenuItem>* items = ItemsOf(hMenu);
    return items ? static_cast<int>(items->size()) : -1;
}

// A dialog's system menu holds Close; bRevert drops what was added.
HMENU GetSystemMenu(HWND hWnd, BOOL bRevert) {
    if (!FindWindowRecord(hWnd)) return nullptr;
    auto& menus = System().systemMenus;
    auto it = menus.find(hWnd);
    if (bRevert) {
        if (it != menus.end()) DestroyMenu(it->second);
        if (it != menus.end()) menus.erase(it);
        return nullptr;
    }
    if (it != menus.end() && ItemsOf(it->second)) return it->second;
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
    menus[hWnd] = menu;
    return menu;
}

// Modal, as Win32's: returns when an item is chosen or the menu cancelled.
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int /*nReserved*/, HWND hWnd,
                    const RECT* /*prcRect*/) {
    std::vector<PopupMenuItem>* items = ItemsOf(hMenu);
    if (!items || items->empty() || !FindWindowRecord(hWnd) || FindWindowRecord(System().tracking))
        return FALSE;
    // The size first: the window's surface is made at its creation.
    Window probe;
    probe.style = WS_POPUP | WS_BORDER;
    probe.font = &DefaultFont();
    const RECT frame = FrameInsets(&probe);
    const SIZE size = MenuSize(&probe, *items);
    Window* menu = CreateWindowRecord(
        WindowKind::PopupMenu, "#32768", WS_POPUP | WS_BORDER, 0,
        {x, y, x + size.cx + frame.left + frame.right, y + size.cy + frame.top + frame.bottom}, hWnd, 0, "",
        &PopupMenuWindowProc);
    menu->font = &DefaultFont();
    menu->menu = hMenu;
    menu->hot = -1;
    const HWND handle = menu->handle;
    const std::vector<PopupMenuItem> shown = *items;
    ShowWindow(handle, SW_SHOW);
    SetCapture(handle);
    System().tracking = handle;
    UINT chosen = 0;
    int answer = -1;
    if (System().menuAnswerer) {
        answer = System().menuAnswerer(handle, shown, System().menuAnswererContext);
    } else if (System().runMenuLoop) {
        System().runMenuLoop(handle);
    }
    if (answer >= 0) {
        chosen = static_cast<UINT>(answer);
    } else if (Window* w = FindWindowRecord(handle); w && w->ended) {
        chosen = w->chosen;
    }
    System().tracking = nullptr;
    if (GetCapture() == handle) ReleaseCapture();
    DestroyWindow(handle);
    if (uFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen && !(uFlags & TPM_NONOTIFY)) PostMessageA(hWnd, WM_COMMAND, chosen, 0);
    return chosen ? TRUE : FALSE;
}

void portable::SetPopupMenuAnswerer(PopupMenuAnswerer answerer, void* context) {
    System().menuAnswerer = answerer;
    System().menuAnswererContext = context;
}

LRESULT CALLBACK portable::PopupMenuWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowRecord(hWnd);
    std::vector<PopupMenuItem>* items = w ? ItemsOf(w->menu) : nullptr;
    if (!items) return w ? DefWindowProcA(hWnd, message, wParam, lParam) : 0;
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) Step(w, *items, wParam == VK_DOWN ? 1 : -1);
            // Enter on a greyed item does nothing; the menu stays open.
            if (wParam == VK_RETURN && w->hot >= 0 && Selectable((*items)[static_cast<size_t>(w->hot)]))
                End(w, (*items)[static_cast<size_t>(w->hot)].id);
            if (wParam == VK_ESCAPE) End(w, 0);
            return 0;
        case WM_MOUSEMOVE:
            if (const int at = ItemAt(w, *items, x, y); at != w->hot) {
                w->hot = at >= 0 && Selectable((*items)[static_cast<size_t>(at)]) ? at : -1;
                InvalidateTree(w);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
            if (ItemAt(w, *items, x, y) < 0) End(w, 0);  // outside: cancels
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (const int at = ItemAt(w, *items, x, y);
                at >= 0 && Selectable((*items)[static_cast<size_t>(at)]))
                End(w, (*items)[static_cast<size_t>(at)].id);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(w, *items);
            return 0;
        default:
            return DefWindowProcA(hWnd, message, wParam, lParam);
    }
}
