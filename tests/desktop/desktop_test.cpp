// The window on a display, used as a person would: real X input through
// xdotool on the window of an Xvfb server, each action checked through the
// API, and a screenshot of the window compared with the offscreen surface.
// Then the viewer as a desktop host, its image window beside the window.
#include <glib.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <poll.h>
#include <qorcolor/qorcolor.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dialog/color_dlg.h"
#include "framework/portable/gtk_desktop.h"
#include "framework/portable/portable_testing.h"
#include "framework/portable/window_system.h"
#include "front_end.h"
#include "phantom.h"
#include "res/resource.h"

namespace {

// The host's loop runs until `done` holds, for `seconds` at most.
bool LoopUntil(const std::function<bool()>& done, double seconds = 5) {
    const gint64 end = g_get_monotonic_time() + static_cast<gint64>(seconds * G_USEC_PER_SEC);
    while (!done() && g_get_monotonic_time() < end) {
        while (g_main_context_iteration(nullptr, FALSE)) continue;
        g_usleep(5000);
    }
    return done();
}

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        for (int c; (c = std::fgetc(pipe)) != EOF;) out += char(c);
        pclose(pipe);
    }
    return out;
}

// The X id of the visible window whose name matches `pattern`, once it shows.
std::string XWindow(const std::string& pattern) {
    std::string id;
    LoopUntil([&] { return !(id = Shell("xdotool search --onlyvisible --name '" + pattern + "'")).empty(); });
    return id.substr(0, id.find('\n'));
}

// The centre of a control, in the dialog's client coordinates.
POINT Centre(HWND dialog, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(dialog, &p);
    return p;
}

// A client point of a shown top-level window as a point of its X window,
// whose title bar stands above the client area.
POINT InWindow(HWND top, POINT p) {
    GtkWidget* window = GTK_WIDGET(portable::GtkWindowOf(top));
    gint ax = 0, ay = 0, wx = 0, wy = 0;
    gdk_window_get_origin(gtk_widget_get_window(gtk_bin_get_child(GTK_BIN(window))), &ax, &ay);
    gdk_window_get_origin(gtk_widget_get_window(window), &wx, &wy);
    return {p.x + ax - wx, p.y + ay - wy};
}

std::string At(const std::string& window, POINT p) {
    return " mousemove --window " + window + " " + std::to_string(p.x) + " " + std::to_string(p.y);
}

// The window as the display shows it: a binary PPM from the X server; of a
// top-level window given, its client area only.
std::string Screenshot(const std::string& window, HWND top = nullptr) {
    std::string crop;
    if (top) {
        RECT client;
        GetClientRect(top, &client);
        const POINT origin = InWindow(top, {0, 0});
        crop = " -crop " + std::to_string(client.right) + "x" + std::to_string(client.bottom) + "+" +
               std::to_string(origin.x) + "+" + std::to_string(origin.y) + " +repage";
    }
    return Shell("import -window " + window + crop + " -depth 8 ppm:-");
}

// Sends `actions` to xdotool, then runs the loop until `done` holds.
bool Act(const std::string& actions, const std::function<bool()>& done) {
    Shell("timeout 5 xdotool " + actions);
    return LoopUntil(done);
}

TEST(Desktop, TheWindowIsUsedWithRealInput) {
    CQorColorDlg::show();
    HWND dialog = FindWindowA(nullptr, QOR_CAPTION);
    ASSERT_TRUE(portable::OnDesktop(dialog));
    const std::string id = XWindow("^" QOR_CAPTION "$");
    ASSERT_FALSE(id.empty());
    const auto* param = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
    CColorDlgBase* dlg = g_pColorDlg;

    // Typed into the maximum's percent edit: 75 % of the demonstration range
    // 0 ... 4096. Enter confirms the number, written as the edit writes it,
    // and keeps the table.
    HWND maxPct = GetDlgItem(dialog, IDC_MAX_PCT);
    EXPECT_TRUE(Act("windowfocus --sync " + id + At(id, InWindow(dialog, Centre(dialog, IDC_MAX_PCT))) +
                        " click 1 key End shift+Home type 075",
                    [&] { return param->dMaxThr == 3072; }))
        << param->dMaxThr;
    EXPECT_TRUE(Act("key Return", [&] {
        char text[16] = {};
        GetWindowTextA(maxPct, text, sizeof text);
        return std::string(text) == "75";
    }));
    EXPECT_EQ(param->nMaxIndex, 255);

    const CPoint handle = dlg->HandlePoint(CColorDlgBase::kHighThr);
    const POINT press = {dlg->m_nViewLeft + handle.x, dlg->m_nViewTop + dlg->m_nViewHeight - 1 - handle.y};
    const int dx = -60;
    const double dragged = 3072 + 4096.0 * dx / (dlg->m_nViewWidth - 2 * dlg->m_nMargin - 1);
    EXPECT_TRUE(Act(At(id, InWindow(dialog, press)) + " mousedown 1" +
                        At(id, InWindow(dialog, {press.x + dx / 2, press.y})) +
                        At(id, InWindow(dialog, {press.x + dx, press.y})) + " mouseup 1",
                    [&] { return param->dMaxThr == dragged && GetCapture() == nullptr; }))
        << param->dMaxThr;

    // The wheel steps the threshold whose edit has the focus, 1 % a notch.
    const double percent = dlg->m_dMaxPct;
    EXPECT_TRUE(Act(At(id, InWindow(dialog, {dlg->m_nViewLeft + 100, dlg->m_nViewTop + 100})) + " click 4",
                    [&] { return std::abs(dlg->m_dMaxPct - percent - 1) < 1e-9; }))
        << dlg->m_dMaxPct - percent;

    EXPECT_TRUE(Act("key Tab", [&] { return GetFocus() == GetDlgItem(dialog, IDC_MIN_PCT); }));

    // The scheme list drops under its field, in a window of its own; a click picks a row.
    HWND scheme = GetDlgItem(dialog, IDC_SCHEME);
    const LRESULT first = SendMessageA(scheme, CB_GETCURSEL, 0, 0);
    ASSERT_TRUE(Act(At(id, InWindow(dialog, Centre(dialog, IDC_SCHEME))) + " click 1",
                    [&] { return SendMessageA(scheme, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    LoopUntil([] { return false; }, 0.3);
    RECT field;
    GetWindowRect(scheme, &field);
    const int row = static_cast<int>(SendMessageA(scheme, CB_GETITEMHEIGHT, 0, 0));
    POINT third = {(field.left + field.right) / 2, field.bottom + 1 + 2 * row + row / 2};
    ScreenToClient(dialog, &third);
    EXPECT_TRUE(Act(At(id, InWindow(dialog, third)) + " click 1",
                    [&] { return SendMessageA(scheme, CB_GETCURSEL, 0, 0) == first + 2; }));
    EXPECT_FALSE(SendMessageA(scheme, CB_GETDROPPEDSTATE, 0, 0));

    // What the display shows is the surface, pixel for pixel: the PPM of its pixels.
    LoopUntil([] { return false; }, 0.5);
    int width = 0, height = 0;
    std::vector<uint32_t> surface;
    ASSERT_TRUE(portable::ReadClientPixels(dialog, width, height, surface));
    std::string expected = "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
    for (uint32_t p : surface) expected += {char(p >> 16), char(p >> 8), char(p)};
    const std::string shot = Screenshot(id, dialog);
    EXPECT_TRUE(shot == expected) << shot.substr(0, 16) << " vs " << expected.substr(0, 16);

    EXPECT_TRUE(Act("key Escape", [&] { return !IsWindowVisible(dialog); }));
    EXPECT_FALSE(portable::OnDesktop(dialog));
    CQorColorDlg end;
}

WNDPROC g_dialogProc = nullptr;
std::vector<WPARAM> g_sysCommands;

LRESULT CALLBACK RecordSysCommands(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SYSCOMMAND) g_sysCommands.push_back(wParam);
    return g_dialogProc(hWnd, message, wParam, lParam);
}

// The centre of a widget of the title bar, in its X window's coordinates.
POINT CentreInWindow(GtkWidget* widget) {
    GtkAllocation a;
    gtk_widget_get_allocation(widget, &a);
    return {a.x + a.width / 2, a.y + a.height / 2};
}

// The system menu opens from the title bar, by its menu button and by a
// right click, as a tracking menu of the window system; an item appended to
// it and clicked reaches the window as WM_SYSCOMMAND.
TEST(Desktop, TheTitleBarOpensTheSystemMenu) {
    CQorColorDlg::show();
    HWND dialog = FindWindowA(nullptr, QOR_CAPTION);
    const std::string id = XWindow("^" QOR_CAPTION "$");
    ASSERT_FALSE(id.empty());
    constexpr UINT kCustom = 0x7A10;
    ASSERT_TRUE(AppendMenuA(GetSystemMenu(dialog, FALSE), MF_STRING, kCustom, "Custom"));
    portable::Window* record = portable::FindWindowRecord(dialog);
    g_dialogProc = std::exchange(record->proc, &RecordSysCommands);

    GtkWidget* box = gtk_window_get_titlebar(portable::GtkWindowOf(dialog));
    ASSERT_TRUE(box && GTK_IS_BIN(box));
    GtkWidget* bar = gtk_bin_get_child(GTK_BIN(box));
    GList* packed = gtk_container_get_children(GTK_CONTAINER(bar));
    GtkWidget* button = packed ? GTK_WIDGET(packed->data) : nullptr;
    g_list_free(packed);
    ASSERT_TRUE(button && GTK_IS_BUTTON(button));
    const POINT title = {CentreInWindow(bar).x, CentreInWindow(button).y};

    // The menu tracks in a nested loop of its own: the item is clicked from there.
    struct Chooser {
        HWND dialog;
        HWND menu = nullptr;
    };
    const auto choose = [](gpointer data) -> gboolean {
        auto* chooser = static_cast<Chooser*>(data);
        if (!(chooser->menu = portable::System().tracking)) return G_SOURCE_CONTINUE;
        // The last item, near the menu's bottom edge, on the display's screen.
        RECT rect;
        GetWindowRect(chooser->menu, &rect);
        POINT client = {0, 0};
        ClientToScreen(chooser->dialog, &client);
        const POINT origin = InWindow(chooser->dialog, {0, 0});
        gint wx = 0, wy = 0;
        gdk_window_get_origin(gtk_widget_get_window(GTK_WIDGET(portable::GtkWindowOf(chooser->dialog))), &wx,
                              &wy);
        const POINT item = {(rect.left + rect.right) / 2 - client.x + origin.x + wx,
                            rect.bottom - 6 - client.y + origin.y + wy};
        Shell("timeout 5 xdotool mousemove " + std::to_string(item.x) + " " + std::to_string(item.y) +
              " click 1");
        return G_SOURCE_REMOVE;
    };
    for (const std::string& open :
         {At(id, CentreInWindow(button)) + " click 1", At(id, title) + " click 3"}) {
        g_sysCommands.clear();
        Chooser chooser{dialog};
        const guint source = g_timeout_add(300, choose, &chooser);
        EXPECT_TRUE(Act(open, [&] {
            return chooser.menu && !portable::System().tracking && !g_sysCommands.empty();
        })) << open;
        if (!chooser.menu) g_source_remove(source);
        EXPECT_EQ(g_sysCommands, (std::vector<WPARAM>{SC_KEYMENU, kCustom}))
            << open;  // as Alt+Space, then the choice
    }

    SetWindowTextA(dialog, "Renamed");  // the title bar keeps the caption
    EXPECT_STREQ(gtk_header_bar_get_title(GTK_HEADER_BAR(bar)), "Renamed");
    SetWindowTextA(dialog, QOR_CAPTION);

    record->proc = g_dialogProc;
    GetSystemMenu(dialog, TRUE);
    EXPECT_TRUE(Act("windowfocus --sync " + id + " key Escape", [&] { return !IsWindowVisible(dialog); }));
    CQorColorDlg end;
}

// A key and the wheel in the image window step the slice; a threshold typed
// into the window repaints the image on the display; closing the image
// window ends the viewer, the window with it.
void DriveViewer(qview::Viewer& viewer) {
    const std::string image = XWindow("^qorcolor-view - "), table = XWindow("^" QOR_CAPTION "$");
    ASSERT_FALSE(image.empty() || table.empty());
    const int axial = viewer.slice[int(qview::Axis::kAxial)];
    EXPECT_TRUE(Act("windowfocus --sync " + image + " key Up" + At(image, {40, 40}) + " click 4",
                    [&] { return viewer.slice[int(qview::Axis::kAxial)] == axial + 2; }));

    LoopUntil([] { return false; }, 0.3);
    const std::string before = Screenshot(image);
    ASSERT_EQ(before.rfind("P6\n", 0), 0u);
    EXPECT_TRUE(Act("windowfocus --sync " + table +
                        At(table, InWindow(g_pColorDlg->m_hWnd, Centre(g_pColorDlg->m_hWnd, IDC_MAX_PCT))) +
                        " click 1 key End shift+Home type 30",
                    [&] { return g_pColorDlg->m_dMaxPct == 30; }));
    EXPECT_EQ(viewer.tables.maxThr, g_pColorDlg->m_param.dMaxThr);
    EXPECT_TRUE(LoopUntil([&] { return Screenshot(image) != before; }));
    GList* tops = gtk_window_list_toplevels();  // the image window closes as by its close box
    for (GList* t = tops; t; t = t->next) {
        const char* title = gtk_window_get_title(GTK_WINDOW(t->data));
        if (title && g_str_has_prefix(title, "qorcolor-view - ")) gtk_window_close(GTK_WINDOW(t->data));
    }
    g_list_free(tops);
}

gboolean Drive(gpointer viewer) {
    DriveViewer(*static_cast<qview::Viewer*>(viewer));
    return G_SOURCE_REMOVE;
}

TEST(Desktop, TheViewerShowsItsImageWindowBesideTheWindow) {
    qview::Viewer viewer;
    viewer.volume = qview::MakePhantom();
    viewer.name = "phantom";
    g_timeout_add(100, Drive, &viewer);
    qview::Options options;
    options.seconds = 60;  // a guard: the test closes the image window itself
    EXPECT_EQ(qview::RunFrontEnd(viewer, options), 0);
    EXPECT_EQ(FindWindowA(nullptr, QOR_CAPTION), nullptr);
}

// One line from a pipe, without its newline; what there is at its end, or
// after ten quiet seconds.
std::string ReadLine(int fd) {
    std::string line;
    pollfd in = {fd, POLLIN, 0};
    for (char c; poll(&in, 1, 10000) == 1 && read(fd, &c, 1) == 1 && c != '\n';) line += c;
    return line;
}

GPid Spawn(std::vector<const char*> argv, gchar** env, gint* in, gint* out, gint* err) {
    argv.push_back(nullptr);
    GPid pid = 0;
    const auto flags =
        GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD | (err ? 0 : G_SPAWN_STDERR_TO_DEV_NULL));
    g_spawn_async_with_pipes(nullptr, const_cast<gchar**>(argv.data()), env, flags, nullptr, nullptr, &pid,
                             in, out, err, nullptr);
    return pid;
}

// A host that left GTK to the library outlives its X server: one line on
// stderr names the display, the window goes on offscreen, the host ends well.
TEST(Desktop, AHostOutlivesItsDisplay) {
    signal(SIGPIPE, SIG_IGN);  // a host that died is reported, not joined
    gint xvfbOut = -1, in = -1, out = -1, err = -1;
    const GPid xvfb =
        Spawn({"Xvfb", "-displayfd", "1", "-nolisten", "tcp"}, nullptr, nullptr, &xvfbOut, nullptr);
    ASSERT_NE(xvfb, 0);
    const std::string display = ":" + ReadLine(xvfbOut);
    gchar** env = g_environ_setenv(g_get_environ(), "DISPLAY", display.c_str(), TRUE);
    env = g_environ_setenv(env, "NO_AT_BRIDGE", "1", TRUE);  // no accessibility bus to warn about
    const GPid host = Spawn({LOST_DISPLAY_HOST}, env, &in, &out, &err);
    g_strfreev(env);
    EXPECT_EQ(ReadLine(out), "shown");
    Shell("DISPLAY=" + display + " timeout 5 xdotool search --sync --onlyvisible --name '^lost display$'");
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    ASSERT_NE(host, 0);
    EXPECT_EQ(ReadLine(err),
              "qorcolor: lost the connection to display " + display + "; the windows go on offscreen");
    LoopUntil([] { return false; }, 0.3);  // the host goes on pumping and calling meanwhile
    EXPECT_EQ(write(in, "\n", 1), 1);
    const std::string last = ReadLine(out);
    EXPECT_EQ(last, "working 1, offscreen 1, sleeps 1");
    if (last.empty()) kill(host, SIGKILL);  // stuck
    int status = -1;
    waitpid(host, &status, 0);
    EXPECT_EQ(status, 0);
    std::string rest;
    for (char c; read(err, &c, 1) == 1;) rest += c;
    EXPECT_EQ(rest, "");
    for (gint fd : {xvfbOut, in, out, err}) close(fd);
}

}  // namespace
