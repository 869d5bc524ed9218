// The desktop presenter: on a display, each shown top-level window of the
// portable window system is a GTK window of the same client size and
// caption that shows its surface, and GTK's input becomes the messages the
// window system understands. The posted queue and the paints are pumped by a
// GLib source in the default main context, so the windows live in the host's
// own loop. Message boxes and file dialogs are GTK's (gtk_dialogs.cpp).
//
// The desktop is used when DISPLAY or WAYLAND_DISPLAY is set and either the
// host has initialised GTK or GTK initialises, unless QORCOLOR_HEADLESS is
// set (to anything but "0"). Without a display nothing here touches GTK.
//
// When the library initialised GTK, a lost X display does not end the host:
// the windows go on offscreen and one line says so on stderr. A host that
// initialised GTK keeps its own handling.
//
// Index of this file:
// [SECTION] Desktop windows and the GLib source
// [SECTION] A lost display
// [SECTION] Input
// [SECTION] Making the desktop windows
// [SECTION] The presenter hooks
// [SECTION] For the dialogs and the tests
#include "window_system.h"

#if defined(QORCOLOR_HAVE_GTK)

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "gtk_desktop.h"

#if defined(GDK_WINDOWING_X11) && defined(QORCOLOR_HAVE_X11)
#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <sys/eventfd.h>
#include <unistd.h>
#endif

namespace portable {

namespace {

// [SECTION] Desktop windows and the GLib source

struct DesktopWindow {
    GtkWidget* window = nullptr;
    GtkWidget* area = nullptr;
    HWND savedFocus = nullptr;  // the focus while the window is inactive
    guint32 lastPress = 0;      // a press soon after another at the same place is a double click
    guint lastButton = 0;
    POINT lastPoint{};
    double wheel = 0;  // smooth scrolling not yet a whole notch
};

std::map<HWND, DesktopWindow>& Windows() {
    static auto& windows = *new std::map<HWND, DesktopWindow>;
    return windows;
}

bool Headless() {
    const char* headless = std::getenv("QORCOLOR_HEADLESS");
    if (headless && *headless && std::strcmp(headless, "0") != 0) return true;
    return !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY");
}

// Pumps the portable queue; bounded, so that a window that keeps
// invalidating itself cannot hold the host's loop.
void Pump() {
    MSG msg;
    for (int i = 0; i < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        RouteInput(msg);
    }
}

gboolean SourcePending(GSource*, gint* timeout) {
    *timeout = -1;
    MSG msg;
    return PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

gboolean SourceCheck(GSource* source) {
    gint timeout = 0;
    return SourcePending(source, &timeout);
}

gboolean SourceDispatch(GSource*, GSourceFunc, gpointer) {
    Pump();
    return G_SOURCE_CONTINUE;
}

GSourceFuncs g_sourceFuncs = {SourcePending, SourceCheck, SourceDispatch, nullptr, nullptr, nullptr};

// [SECTION] A lost display

bool g_lost = false;            // the display is gone; the windows stay offscreen
GtkDialog* g_asking = nullptr;  // the modal question being run, if any

// Once the display is lost nothing may draw on it again: Xlib no longer
// sends, so a repaint overflows its request buffer and crashes. The desktop
// windows go, unpainted, and a running question ends unanswered.
gboolean DropLostWindows(gpointer) {
    std::map<HWND, DesktopWindow> windows;
    windows.swap(Windows());
    for (auto& [handle, d] : windows) {
        g_signal_handlers_disconnect_by_data(d.window, handle);
        g_signal_handlers_disconnect_by_data(d.area, handle);
        gtk_widget_destroy(d.window);
    }
    if (g_asking) gtk_dialog_response(g_asking, GTK_RESPONSE_DELETE_EVENT);
    return G_SOURCE_REMOVE;
}

bool Lost() {
    if (g_lost && !Windows().empty()) DropLostWindows(nullptr);
    return g_lost;
}

#if defined(GDK_WINDOWING_X11) && defined(QORCOLOR_HAVE_X11)

Display* g_display = nullptr;
XIOErrorHandler g_gdkIoError = nullptr;

// GDK's own handler ends the process without a word.
int OnIoError(Display* display) {
    if (display != g_display) return g_gdkIoError ? g_gdkIoError(display) : 0;
#if defined(QORCOLOR_X11_OUTLIVES_DISPLAY)
    std::fprintf(stderr, "qorcolor: lost the connection to display %s; the windows go on offscreen\n",
                 DisplayString(display));
    return 0;  // Xlib calls OnIoExit next
#else
    std::fprintf(stderr, "qorcolor: lost the connection to display %s; the process ends\n",
                 DisplayString(display));
    return g_gdkIoError ? g_gdkIoError(display) : 0;
#endif
}

#if defined(QORCOLOR_X11_OUTLIVES_DISPLAY)
// Returning lets the process go on; Xlib drops every later request on the
// display. GDK's event source still polls the connection, which would read
// as hung up in every iteration of the host's loop: a descriptor that never
// becomes readable takes its place. The windows go outside Xlib's call.
void OnIoExit(Display* display, void*) {
    if (const int quiet = eventfd(0, EFD_CLOEXEC); quiet >= 0) {
        dup2(quiet, ConnectionNumber(display));
        close(quiet);
    }
    g_lost = true;
    g_idle_add_full(G_PRIORITY_HIGH, DropLostWindows, nullptr, nullptr);
}
#endif

void WatchDisplay() {
    GdkDisplay* display = gdk_display_get_default();
    if (!GDK_IS_X11_DISPLAY(display)) return;
    g_display = GDK_DISPLAY_XDISPLAY(display);
    g_gdkIoError = XSetIOErrorHandler(OnIoError);
#if defined(QORCOLOR_X11_OUTLIVES_DISPLAY)
    XSetIOErrorExitHandler(g_display, OnIoExit, nullptr);
#endif
}

#else

void WatchDisplay() {}

#endif

// [SECTION] Input

// The deepest shown, enabled child under a client point of `w`. A static
// control without SS_NOTIFY is transparent to the mouse, as in Win32.
Window* HitTest(Window* w, POINT& point) {
    for (HWND child : w->children) {
        Window* c = FindWindowRecord(child);
        if (!c || !(c->style & WS_VISIBLE) || (c->style & WS_DISABLED)) continue;
        if (c->kind == WindowKind::Static && !(c->style & SS_NOTIFY)) continue;
        if (point.x >= c->rect.left && point.x < c->rect.right && point.y >= c->rect.top &&
            point.y < c->rect.bottom) {
            const RECT insets = FrameInsets(c);
            POINT inner = {point.x - c->rect.left - insets.left, point.y - c->rect.top - insets.top};
            point = inner;
            return HitTest(c, point);
        }
    }
    return w;
}

// Input goes through the dialog's keyboard interface, as a dialog's loop sends it.
void Deliver(Window* top, HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{};
    msg.hwnd = target;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    (void)top;
    RouteInput(msg);
    Pump();
}

WPARAM MouseKeys(guint state) {
    return ((state & GDK_BUTTON1_MASK) ? MK_LBUTTON : 0) | ((state & GDK_BUTTON3_MASK) ? MK_RBUTTON : 0);
}

// A surface point to the window that gets the mouse (the capture, else the
// one under it), in that window's client coordinates. The desktop windows
// stand where the window system's coordinates put them, relative to each
// other, so a capture in another of them is reached through those.
HWND MouseTarget(Window* top, double x, double y, POINT& point) {
    point = {static_cast<LONG>(std::floor(x)), static_cast<LONG>(std::floor(y))};
    if (Window* capture = FindWindowRecord(GetCapture())) {
        POINT screen = point;
        ClientToScreen(top->handle, &screen);
        ScreenToClient(capture->handle, &screen);
        point = screen;
        return capture->handle;
    }
    return HitTest(top, point)->handle;
}

Window* TopOf(gpointer data) { return FindWindowRecord(static_cast<HWND>(data)); }

gboolean OnDraw(GtkWidget*, cairo_t* cr, gpointer data) {
    const Window* top = TopOf(data);
    if (!top || top->surface.empty()) return TRUE;
    cairo_surface_t* image = cairo_image_surface_create_for_data(
        const_cast<unsigned char*>(reinterpret_cast<const unsigned char*>(top->surface.data())),
        CAIRO_FORMAT_RGB24, top->surfaceWidth, top->surfaceHeight, top->surfaceWidth * 4);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_surface_destroy(image);
    return TRUE;
}

gboolean OnButton(GtkWidget*, GdkEventButton* event, gpointer data) {
    Window* top = TopOf(data);
    if (!top || (event->button != 1 && event->button != 3)) return TRUE;
    if (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE) return TRUE;
    DesktopWindow& d = Windows()[top->handle];
    System().shiftDown = (event->state & GDK_SHIFT_MASK) != 0;
    POINT point;
    HWND target = MouseTarget(top, event->x, event->y, point);
    const bool left = event->button == 1;
    UINT message = left ? WM_LBUTTONUP : WM_RBUTTONUP;
    WPARAM keys = MouseKeys(event->state);
    if (event->type == GDK_BUTTON_PRESS) {
        keys |= left ? MK_LBUTTON : MK_RBUTTON;
        gint time = 400, distance = 5;
        g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &time, "gtk-double-click-distance",
                     &distance, nullptr);
        const POINT at = {static_cast<LONG>(event->x), static_cast<LONG>(event->y)};
        const bool twice =
            d.lastButton == event->button && event->time - d.lastPress <= static_cast<guint>(time) &&
            std::abs(at.x - d.lastPoint.x) <= distance && std::abs(at.y - d.lastPoint.y) <= distance;
        message =
            twice ? (left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK) : (left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN);
        d.lastButton = twice ? 0 : event->button;
        d.lastPress = event->time;
        d.lastPoint = at;
    } else {
        keys &= ~static_cast<WPARAM>(left ? MK_LBUTTON : MK_RBUTTON);
    }
    Deliver(top, target, message, keys, MAKELPARAM(point.x, point.y));
    return TRUE;
}

gboolean OnMotion(GtkWidget*, GdkEventMotion* event, gpointer data) {
    Window* top = TopOf(data);
    if (!top) return TRUE;
    POINT point;
    HWND target = MouseTarget(top, event->x, event->y, point);
    Deliver(top, target, WM_MOUSEMOVE, MouseKeys(event->state), MAKELPARAM(point.x, point.y));
    return TRUE;
}

gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer data) {
    Window* top = TopOf(data);
    if (!top) return TRUE;
    DesktopWindow& d = Windows()[top->handle];
    if (event->direction == GDK_SCROLL_UP) d.wheel -= 1;
    if (event->direction == GDK_SCROLL_DOWN) d.wheel += 1;
    if (event->direction == GDK_SCROLL_SMOOTH) d.wheel += event->delta_y;
    const int notches = static_cast<int>(d.wheel);  // toward zero: partial notches wait
    if (notches == 0) return TRUE;
    d.wheel -= notches;
    POINT point;
    HWND target = MouseTarget(top, event->x, event->y, point);
    POINT screen = point;
    ClientToScreen(target, &screen);
    const WPARAM wParam = MAKEWPARAM(MouseKeys(event->state), -notches * WHEEL_DELTA);
    Deliver(top, target, WM_MOUSEWHEEL, wParam, MAKELPARAM(screen.x, screen.y));
    return TRUE;
}

WPARAM VirtualKey(guint keyval) {
    switch (keyval) {
        case GDK_KEY_Tab:
        case GDK_KEY_ISO_Left_Tab:
            return VK_TAB;
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
            return VK_RETURN;
        case GDK_KEY_Escape:
            return VK_ESCAPE;
        case GDK_KEY_Page_Up:
        case GDK_KEY_KP_Page_Up:
            return VK_PRIOR;
        case GDK_KEY_Page_Down:
        case GDK_KEY_KP_Page_Down:
            return VK_NEXT;
        case GDK_KEY_F10:
            return VK_F10;
        case GDK_KEY_Menu:
            return VK_APPS;
        case GDK_KEY_Control_L:
        case GDK_KEY_Control_R:
            return VK_CONTROL;
        case GDK_KEY_BackSpace:
            return VK_BACK;
        case GDK_KEY_Delete:
        case GDK_KEY_KP_Delete:
            return VK_DELETE;
        case GDK_KEY_Left:
        case GDK_KEY_KP_Left:
            return VK_LEFT;
        case GDK_KEY_Right:
        case GDK_KEY_KP_Right:
            return VK_RIGHT;
        case GDK_KEY_Up:
        case GDK_KEY_KP_Up:
            return VK_UP;
        case GDK_KEY_Down:
        case GDK_KEY_KP_Down:
            return VK_DOWN;
        case GDK_KEY_Home:
        case GDK_KEY_KP_Home:
            return VK_HOME;
        case GDK_KEY_End:
        case GDK_KEY_KP_End:
            return VK_END;
        case GDK_KEY_Shift_L:
        case GDK_KEY_Shift_R:
            return VK_SHIFT;
        default:
            return 0;
    }
}

// A key: WM_KEYDOWN for the keys that have a virtual key here, WM_CHAR for
// the characters of the controls' code page (and Backspace), to the focus.
gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer data) {
    Window* top = TopOf(data);
    if (!top) return TRUE;
    WPARAM key = VirtualKey(event->keyval);
    const bool down = event->type == GDK_KEY_PRESS;
    System().shiftDown = key == VK_SHIFT ? down : (event->state & GDK_SHIFT_MASK) != 0;
    System().controlDown = key == VK_CONTROL ? down : (event->state & GDK_CONTROL_MASK) != 0;
    const bool alt = (event->state & GDK_MOD1_MASK) != 0;
    // With Ctrl or Alt a letter or the space bar is a key of its own, for shortcuts.
    const guint upper = gdk_keyval_to_upper(event->keyval);
    if (!key && (System().controlDown || alt) && ((upper >= 'A' && upper <= 'Z') || upper == ' '))
        key = upper;
    Window* focus = FindWindowRecord(GetFocus());
    HWND target = focus && TopLevelOf(focus) == top ? focus->handle : top->handle;
    // As Win32 sends them: with Alt, and F10, as system keys.
    const bool system = (alt && !System().controlDown) || key == VK_F10;
    if (!down) {
        if (key) Deliver(top, target, system ? WM_SYSKEYUP : WM_KEYUP, key, 0);
        return TRUE;
    }
    if (key) Deliver(top, target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
    const gunichar c = key == VK_BACK ? '\b' : gdk_keyval_to_unicode(event->keyval);
    const bool control = (event->state & (GDK_CONTROL_MASK | GDK_MOD1_MASK)) != 0;
    if (IsWindow(target) && !control && (c == '\b' || (c >= 0x20 && c < 0x100 && c != 0x7F))) {
        Deliver(top, target, WM_CHAR, c, 1);
    }
    return TRUE;
}

// Deactivation takes the focus away and activation gives it back, as Win32
// does for a dialog.
gboolean OnFocus(GtkWidget*, GdkEventFocus* event, gpointer data) {
    Window* top = TopOf(data);
    if (!top) return FALSE;
    DesktopWindow& d = Windows()[top->handle];
    Window* focus = FindWindowRecord(GetFocus());
    if (!event->in && focus && TopLevelOf(focus) == top) {
        d.savedFocus = focus->handle;
        SetFocus(nullptr);
    } else if (event->in && IsWindow(d.savedFocus)) {
        SetFocus(d.savedFocus);
    }
    Pump();
    return FALSE;
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
    if (Window* top = TopOf(data)) {
        SendMessageA(top->handle, WM_CLOSE, 0, 0);
        Pump();
    }
    return TRUE;  // the window system decides what closing does
}

// [SECTION] Making the desktop windows

// How far the display is from the window system's screen coordinates,
// measured at the desktop window of the captioned window that `top` belongs
// to; that window's drawing area, or null when it is not on the display.
GtkWidget* DisplayOffset(const Window* top, POINT& offset) {
    const Window* anchor = top;
    while (anchor && !(anchor->style & WS_CAPTION) && FindWindowRecord(anchor->parent)) {
        anchor = TopLevelOf(FindWindowRecord(anchor->parent));
    }
    auto it = anchor ? Windows().find(anchor->handle) : Windows().end();
    if (it == Windows().end() || !gtk_widget_get_realized(it->second.area)) return nullptr;
    gint x = 0, y = 0;
    gdk_window_get_origin(gtk_widget_get_window(it->second.area), &x, &y);
    const POINT origin = ScreenClientOrigin(anchor);
    offset = {x - origin.x, y - origin.y};
    return it->second.area;
}

DesktopWindow& Create(Window* top) {
    DesktopWindow& d = Windows()[top->handle];
    if (d.window) return d;
    gpointer handle = top->handle;
    // A window without a caption (a dropped list) is a popup placed by us, beside its owner.
    const bool popup = (top->style & WS_CAPTION) != WS_CAPTION && FindWindowRecord(top->parent);
    d.window = gtk_window_new(popup ? GTK_WINDOW_POPUP : GTK_WINDOW_TOPLEVEL);
    if (POINT offset{}; popup && DisplayOffset(FindWindowRecord(top->parent), offset)) {
        const POINT origin = ScreenClientOrigin(top);
        gtk_window_move(GTK_WINDOW(d.window), origin.x + offset.x, origin.y + offset.y);
    }
    gtk_window_set_title(GTK_WINDOW(d.window), top->text.c_str());
    gtk_window_set_resizable(GTK_WINDOW(d.window), FALSE);
    if (GtkWindow* owner = GtkWindowOf(top->parent))
        gtk_window_set_transient_for(GTK_WINDOW(d.window), owner);
    d.area = gtk_drawing_area_new();
    gtk_widget_set_size_request(d.area, top->surfaceWidth, top->surfaceHeight);
    gtk_widget_add_events(d.area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK |
                                      GDK_SCROLL_MASK | GDK_SMOOTH_SCROLL_MASK);
    gtk_container_add(GTK_CONTAINER(d.window), d.area);
    g_signal_connect(d.area, "draw", G_CALLBACK(OnDraw), handle);
    g_signal_connect(d.area, "button-press-event", G_CALLBACK(OnButton), handle);
    g_signal_connect(d.area, "button-release-event", G_CALLBACK(OnButton), handle);
    g_signal_connect(d.area, "motion-notify-event", G_CALLBACK(OnMotion), handle);
    g_signal_connect(d.area, "scroll-event", G_CALLBACK(OnScroll), handle);
    g_signal_connect(d.window, "key-press-event", G_CALLBACK(OnKey), handle);
    g_signal_connect(d.window, "key-release-event", G_CALLBACK(OnKey), handle);
    g_signal_connect(d.window, "focus-in-event", G_CALLBACK(OnFocus), handle);
    g_signal_connect(d.window, "focus-out-event", G_CALLBACK(OnFocus), handle);
    g_signal_connect(d.window, "delete-event", G_CALLBACK(OnDelete), handle);
    gtk_widget_show(d.area);
    return d;
}

GtkWidget* ExistingWindow(const Window* top) {
    auto it = Windows().find(top->handle);
    return it == Windows().end() ? nullptr : it->second.window;
}

// [SECTION] The presenter hooks

void Show(Window* top, bool shown) {
    if (Lost()) return;
    if (shown && DesktopActive()) {
        gtk_widget_show(Create(top).window);
    } else if (GtkWidget* window = ExistingWindow(top)) {
        gtk_widget_hide(window);
    }
}

void Caption(const Window* top) {
    if (Lost()) return;
    if (GtkWidget* window = ExistingWindow(top)) gtk_window_set_title(GTK_WINDOW(window), top->text.c_str());
}

void Destroyed(const Window* top) {
    if (Lost()) return;
    auto it = Windows().find(top->handle);
    if (it == Windows().end()) return;
    GtkWidget* window = it->second.window;
    Windows().erase(it);
    gtk_widget_destroy(window);
}

void Dirty(const Window* top, const RECT& area) {
    if (Lost()) return;
    auto it = Windows().find(top->handle);
    if (it == Windows().end() || area.right <= area.left || area.bottom <= area.top) return;
    gtk_widget_queue_draw_area(it->second.area, area.left, area.top, area.right - area.left,
                               area.bottom - area.top);
}

bool WorkArea(const Window* top, RECT& rect) {
    POINT offset{};
    GtkWidget* area = Lost() ? nullptr : DisplayOffset(top, offset);
    if (!area) return false;
    GdkMonitor* monitor =
        gdk_display_get_monitor_at_window(gtk_widget_get_display(area), gtk_widget_get_window(area));
    GdkRectangle work{};
    gdk_monitor_get_workarea(monitor, &work);
    rect = {work.x - offset.x, work.y - offset.y, work.x + work.width - offset.x,
            work.y + work.height - offset.y};
    return true;
}

// A tracking menu's nested loop: the desktop goes on delivering input until
// the menu ends or the display is lost.
bool RunMenuLoop(HWND menuWindow) {
    if (!DesktopActive()) return false;
    while (!Lost()) {
        const Window* w = FindWindowRecord(menuWindow);
        if (!w || w->ended) break;
        g_main_context_iteration(nullptr, TRUE);
    }
    return true;
}

// Installed as the library loads; GTK itself is first touched when a window is shown.
[[maybe_unused]] const bool g_installed = (InstallPresenter({&Show, &Caption, &Destroyed, &Dirty, &WorkArea}),
                                           System().runMenuLoop = &RunMenuLoop, true);

}  // namespace

// [SECTION] For the dialogs and the tests

// Runs a modal question, which a lost display ends.
gint Ask(GtkDialog* dialog) {
    GtkDialog* outer = std::exchange(g_asking, dialog);
    const gint response = gtk_dialog_run(dialog);
    g_asking = outer;
    return response;
}

bool DisplayLost() { return g_lost; }

bool DesktopActive() {
    static const bool active = [] {
        if (Headless()) return false;
        if (!gdk_display_get_default()) {
            if (!gtk_init_check(nullptr, nullptr)) return false;
            WatchDisplay();
        }
        GSource* source = g_source_new(&g_sourceFuncs, sizeof(GSource));
        // Modal GTK dialogs run a nested loop; the windows go on painting meanwhile.
        g_source_set_can_recurse(source, TRUE);
        g_source_attach(source, nullptr);
        g_source_unref(source);
        return true;
    }();
    return active && !Lost();
}

GtkWindow* GtkWindowOf(HWND hWnd) {
    const Window* top = TopLevelOf(FindWindowRecord(hWnd));
    if (!top) return nullptr;
    auto it = Windows().find(top->handle);
    return it == Windows().end() ? nullptr : GTK_WINDOW(it->second.window);
}

bool OnDesktop(HWND hWnd) {
    const Window* top = TopLevelOf(FindWindowRecord(hWnd));
    return !Lost() && top && ExistingWindow(top) && gtk_widget_get_visible(ExistingWindow(top));
}

}  // namespace portable

#else

namespace portable {

// Built without GTK: every window stays offscreen.
bool OnDesktop(HWND) { return false; }

}  // namespace portable

#endif
