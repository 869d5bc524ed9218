// Linux desktop front end: the viewer is a GTK host. The slice is shown in a
// GtkWindow of its own, beside the colour table window, which the library
// shows on the same display and pumps in the same GLib main context. The
// wheel and the arrow or page keys step through the slices; 1, 2 and 3 show
// the axial, coronal and sagittal view. Closing the image window ends the
// program; closing the colour table window only hides it.
//
// Without a display, with QORCOLOR_HEADLESS set or with pictures asked for,
// the headless front end runs instead.
#include <gtk/gtk.h>
#include <qorcolor/headless.h>
#include <qorcolor/qorcolor.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "front_end.h"

namespace qview {

namespace {

constexpr int kClientHeight = 512;
constexpr int kGap = 8;
Viewer* g_viewer = nullptr;
GtkWidget* g_window = nullptr;
GtkWidget* g_area = nullptr;
guint g_timer = 0;  // closes the window after --seconds

// The library's own rule, so that both sides agree on where the windows go.
bool WantDesktop(const Options& options) {
    const char* headless = std::getenv("QORCOLOR_HEADLESS");
    if (options.pictures || (headless && *headless && std::strcmp(headless, "0") != 0)) return false;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return false;
    return gtk_init_check(nullptr, nullptr);
}

void OnRepaint(Viewer& viewer) {
    if (!g_window) return;
    gtk_window_set_title(GTK_WINDOW(g_window), ("qorcolor-view - " + Title(viewer)).c_str());
    gtk_widget_queue_draw(g_area);
}

// The slice as large as the area allows, in its voxels' proportions, on black.
gboolean OnDraw(GtkWidget* area, cairo_t* cr, gpointer) {
    const int width = gtk_widget_get_allocated_width(area), height = gtk_widget_get_allocated_height(area);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    const Image& image = g_viewer->image;
    if (image.width < 1 || image.height < 1) return TRUE;
    float pw = 1, ph = 1;
    PixelSize(g_viewer->volume, g_viewer->axis, pw, ph);
    const auto [dw, dh] = FitSlice(image.width, image.height, pw, ph, width, height);
    cairo_surface_t* surface = cairo_image_surface_create_for_data(
        const_cast<unsigned char*>(reinterpret_cast<const unsigned char*>(image.pixels.data())),
        CAIRO_FORMAT_RGB24, image.width, image.height, image.width * 4);
    cairo_translate(cr, (width - dw) / 2, (height - dh) / 2);
    cairo_scale(cr, double(dw) / image.width, double(dh) / image.height);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_surface_destroy(surface);
    return TRUE;
}

gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer) {
    switch (event->keyval) {
        case GDK_KEY_Up:
        case GDK_KEY_Right:
        case GDK_KEY_Page_Up:
            StepSlice(*g_viewer, 1);
            return TRUE;
        case GDK_KEY_Down:
        case GDK_KEY_Left:
        case GDK_KEY_Page_Down:
            StepSlice(*g_viewer, -1);
            return TRUE;
        case GDK_KEY_1:
            ShowAxis(*g_viewer, Axis::kAxial);
            return TRUE;
        case GDK_KEY_2:
            ShowAxis(*g_viewer, Axis::kCoronal);
            return TRUE;
        case GDK_KEY_3:
            ShowAxis(*g_viewer, Axis::kSagittal);
            return TRUE;
        default:
            return FALSE;
    }
}

// Discrete notches only (no smooth-scroll mask): one slice a notch.
gboolean OnScroll(GtkWidget*, GdkEventScroll* event, gpointer) {
    if (event->direction == GDK_SCROLL_UP || event->direction == GDK_SCROLL_DOWN)
        StepSlice(*g_viewer, event->direction == GDK_SCROLL_UP ? 1 : -1);
    return TRUE;
}

void OnDestroy(GtkWidget*, gpointer) {
    g_window = g_area = nullptr;
    gtk_main_quit();
}

gboolean CloseAfterTimeout(gpointer) {
    g_timer = 0;
    if (g_window) gtk_widget_destroy(g_window);
    return G_SOURCE_REMOVE;
}

// To the right of the colour table window when the display reports where it is.
void PlaceBesideTable(GtkWindow* window) {
    GList* tops = gtk_window_list_toplevels();
    for (GList* t = tops; t; t = t->next) {
        GtkWindow* table = GTK_WINDOW(t->data);
        const char* title = gtk_window_get_title(table);
        if (!title || std::strcmp(title, QOR_CAPTION) != 0 || !gtk_widget_get_visible(GTK_WIDGET(table)))
            continue;
        gint x = 0, y = 0, w = 0, h = 0;
        gtk_window_get_position(table, &x, &y);
        gtk_window_get_size(table, &w, &h);
        gtk_window_move(window, x + w + kGap, y);
        break;
    }
    g_list_free(tops);
}

// The work area's width on the monitor the windows open on.
int ScreenWidth() {
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = display ? gdk_display_get_primary_monitor(display) : nullptr;
    if (!monitor && display) monitor = gdk_display_get_monitor(display, 0);
    GdkRectangle area{0, 0, kClientHeight, kClientHeight};
    if (monitor) gdk_monitor_get_workarea(monitor, &area);
    return area.width;
}

// The slice kClientHeight high, in its voxels' proportions, no wider than the screen.
GtkWidget* CreateImageWindow() {
    float pw = 1, ph = 1;
    PixelSize(g_viewer->volume, g_viewer->axis, pw, ph);
    const Image& image = g_viewer->image;
    const int width =
        std::max(64, FitSlice(image.width, image.height, pw, ph, ScreenWidth(), kClientHeight).width);
    GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    g_area = gtk_drawing_area_new();
    gtk_widget_set_size_request(g_area, 64, 64);
    gtk_window_set_default_size(GTK_WINDOW(window), width, kClientHeight);
    gtk_widget_add_events(g_area, GDK_SCROLL_MASK);
    gtk_container_add(GTK_CONTAINER(window), g_area);
    g_signal_connect(g_area, "draw", G_CALLBACK(OnDraw), nullptr);
    g_signal_connect(g_area, "scroll-event", G_CALLBACK(OnScroll), nullptr);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKey), nullptr);
    g_signal_connect(window, "destroy", G_CALLBACK(OnDestroy), nullptr);
    PlaceBesideTable(GTK_WINDOW(window));
    return window;
}

}  // namespace

int RunFrontEnd(Viewer& viewer, const Options& options) {
    if (!WantDesktop(options)) {
        setenv("QORCOLOR_HEADLESS", "1", 1);  // keeps the colour table window offscreen too
        return RunHeadless(viewer, options);
    }
    g_viewer = &viewer;
    OpenInWindow(viewer);
    if (!QorIsOnDesktop()) {
        std::fprintf(stderr, "qorcolor-view: the colour table window is not on the display\n");
        { CQorColorDlg end; }
        return 1;
    }
    g_window = CreateImageWindow();
    viewer.onRepaint = OnRepaint;
    OnRepaint(viewer);
    gtk_widget_show_all(g_window);
    std::printf("%s\n", Title(viewer).c_str());
    std::fflush(stdout);
    if (options.seconds > 0)
        g_timer = g_timeout_add(guint(options.seconds * 1000), CloseAfterTimeout, nullptr);
    gtk_main();
    if (g_timer) g_source_remove(std::exchange(g_timer, 0u));
    viewer.onRepaint = nullptr;
    { CQorColorDlg end; }
    return 0;
}

}  // namespace qview
