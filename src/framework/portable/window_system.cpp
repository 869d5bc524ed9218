// The window table of the portable window system: creation, lookup,
// geometry, invalidation, and the hooks of the desktop presenter.
#include "window_system.h"

namespace portable {

namespace {

constexpr int kFrame = 3;
constexpr int kCaption = 26;

constinit Presenter g_presenter{};

}  // namespace

void InstallPresenter(const Presenter& presenter) { g_presenter = presenter; }

void DesktopShow(Window* top, bool shown) {
    if (g_presenter.show) g_presenter.show(top, shown);
}

void DesktopCaption(const Window* top) {
    if (g_presenter.caption) g_presenter.caption(top);
}

void DesktopDestroyed(const Window* top) {
    if (g_presenter.destroyed) g_presenter.destroyed(top);
}

void DesktopDirty(const Window* top, const RECT& area) {
    if (g_presenter.dirty) g_presenter.dirty(top, area);
}

RECT DesktopWorkArea(const Window* top) {
    constexpr LONG kFar = 1 << 28;
    RECT area;
    if (g_presenter.workArea && g_presenter.workArea(top, area)) return area;
    return {-kFar, -kFar, kFar, kFar};
}

WindowSystem& System() {
    // Never destroyed: framework objects with static storage may still
    // destroy their windows while the process exits.
    static auto& system = *new WindowSystem;
    return system;
}

Busy::~Busy() {
    WindowSystem& system = System();
    if (--system.busy == 0) system.ended.clear();
}

void EndWindowRecord(Window* w) {
    WindowSystem& system = System();
    auto it = system.windows.find(reinterpret_cast<uintptr_t>(w->handle));
    if (it == system.windows.end()) return;
    system.ended.push_back(std::move(it->second));
    system.windows.erase(it);
    if (system.busy == 0) system.ended.clear();
}

Window* FindWindowRecord(HWND hWnd) {
    if (!hWnd) return nullptr;
    auto& windows = System().windows;
    auto it = windows.find(reinterpret_cast<uintptr_t>(hWnd));
    if (it == windows.end() || !it->second->alive) return nullptr;
    return it->second.get();
}

Window* CreateWindowRecord(WindowKind kind, const char* className, DWORD style, DWORD exStyle,
                           const RECT& rect, HWND parent, int id, const char* text, WNDPROC proc) {
    WindowSystem& system = System();
    auto window = std::make_unique<Window>();
    window->handle = reinterpret_cast<HWND>(system.nextWindow);
    system.nextWindow += 4;
    window->kind = kind;
    window->className = className;
    window->style = style;
    window->exStyle = exStyle;
    window->rect = rect;
    window->id = id;
    window->text = text ? text : "";
    window->proc = proc;
    Window* parentWindow = FindWindowRecord(parent);
    window->parent = parentWindow ? parent : nullptr;
    if (parentWindow && (style & WS_CHILD)) parentWindow->children.push_back(window->handle);
    if (IsTopLevel(window.get())) {
        const SIZE size = ClientSize(window.get());
        window->surfaceWidth = size.cx;
        window->surfaceHeight = size.cy;
        window->surface.assign(static_cast<size_t>(size.cx) * static_cast<size_t>(size.cy), 0);
    }
    Window* result = window.get();
    system.windows[reinterpret_cast<uintptr_t>(result->handle)] = std::move(window);
    return result;
}

bool IsTopLevel(const Window* w) { return !(w->style & WS_CHILD) || !FindWindowRecord(w->parent); }

Window* TopLevelOf(Window* w) {
    while (w && !IsTopLevel(w)) w = FindWindowRecord(w->parent);
    return w;
}

RECT FrameInsets(const Window* w) {
    if (IsTopLevel(w)) {
        const int caption = (w->style & WS_CAPTION) == WS_CAPTION ? kCaption : 0;
        return {kFrame, kFrame + caption, kFrame, kFrame};
    }
    int edge = (w->style & WS_BORDER) ? 1 : 0;
    if (w->exStyle & WS_EX_DLGMODALFRAME) edge += kFrame;
    return {edge, edge, edge, edge};
}

RECT ScreenWindowRect(const Window* w) {
    if (IsTopLevel(w)) return w->rect;
    const POINT origin = ScreenClientOrigin(FindWindowRecord(w->parent));
    return {origin.x + w->rect.left, origin.y + w->rect.top, origin.x + w->rect.right,
            origin.y + w->rect.bottom};
}

POINT ScreenClientOrigin(const Window* w) {
    const RECT outer = ScreenWindowRect(w);
    const RECT insets = FrameInsets(w);
    return {outer.left + insets.left, outer.top + insets.top};
}

SIZE ClientSize(const Window* w) {
    const RECT insets = FrameInsets(w);
    const LONG width = w->rect.right - w->rect.left - insets.left - insets.right;
    const LONG height = w->rect.bottom - w->rect.top - insets.top - insets.bottom;
    return {width > 0 ? width : 0, height > 0 ? height : 0};
}

bool IsShown(const Window* w) {
    for (; w; w = IsTopLevel(w) ? nullptr : FindWindowRecord(w->parent)) {
        if (!(w->style & WS_VISIBLE)) return false;
    }
    return true;
}

void InvalidateTree(Window* w) {
    if (!w) return;
    w->invalid = true;
    for (HWND child : w->children) InvalidateTree(FindWindowRecord(child));
}

}  // namespace portable
