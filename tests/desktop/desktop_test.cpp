// The window on a display, used as a person would: real X input through
// xdotool on the window of an Xvfb server, each action checked through the
// API, and a screenshot of the window compared with the offscreen surface.
// Then the viewer as a desktop host, its image window beside the window.
#include <glib.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <png.h>
#include <qorcolor/qorcolor.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "dialog/color_dlg.h"
#include "framework/portable/portable_testing.h"
#include "front_end.h"
#include "phantom.h"
#include "res/resource.h"

namespace {

// The host's loop runs until `done` holds, for `seconds` at most.
bool LoopUntil(const std::function<bool()>& done, double seconds = 5) {
    const gint64 end = g_get_monotonic_time() + static_cast<gint64>(seconds * G_USEC_PER_SEC);
    while (!done() && g_get_monotonic_time() < end) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
        g_usleep(5000);
    }
    return done();
}

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) out += buffer;
        pclose(pipe);
    }
    return out;
}

// The centre of a control, in the dialog's client coordinates.
POINT Centre(HWND dialog, int id) {
    RECT r;
    GetWindowRect(GetDlgItem(dialog, id), &r);
    POINT p = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ScreenToClient(dialog, &p);
    return p;
}

std::string At(const std::string& window, POINT p) {
    return " mousemove --window " + window + " " + std::to_string(p.x) + " " + std::to_string(p.y);
}

std::string Text(HWND hWnd) {
    char text[64] = {};
    GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

std::vector<uint32_t> Screenshot(const std::string& window, int& width, int& height) {
    const std::string file = std::string(g_get_tmp_dir()) + "/qorcolor-desktop-" + window + ".png";
    Shell("import -window " + window + " " + file);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    std::vector<uint32_t> pixels;
    if (png_image_begin_read_from_file(&image, file.c_str())) {
        image.format = PNG_FORMAT_BGRA;  // little-endian words of 0xAARRGGBB
        pixels.resize(PNG_IMAGE_SIZE(image) / 4);
        png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr);
        for (uint32_t& p : pixels) p &= 0xFFFFFF;
    }
    width = static_cast<int>(image.width);
    height = static_cast<int>(image.height);
    std::remove(file.c_str());
    return pixels;
}

TEST(Desktop, TheWindowIsUsedWithRealInput) {
    CQorColorDlg::show();
    HWND dialog = FindWindowA(nullptr, "Color Table");
    ASSERT_TRUE(portable::OnDesktop(dialog));
    std::string window;
    ASSERT_TRUE(LoopUntil(
        [&] { return !(window = Shell("xdotool search --onlyvisible --name '^Color Table$'")).empty(); }));
    const std::string id = window.substr(0, window.find('\n'));
    Shell("xdotool windowfocus --sync " + id);
    const auto* param = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());

    Shell("xdotool" + At(id, Centre(dialog, IDC_LOG_SCALE)) + " click 1");
    EXPECT_TRUE(
        LoopUntil([&] { return SendMessageA(GetDlgItem(dialog, IDC_LOG_SCALE), BM_GETCHECK, 0, 0); }));

    HWND maxPct = GetDlgItem(dialog, IDC_MAX_PCT);
    Shell("xdotool" + At(id, Centre(dialog, IDC_MAX_PCT)) + " click 1 key End shift+Home type 75");
    EXPECT_TRUE(LoopUntil([&] { return Text(maxPct) == "75"; })) << Text(maxPct);
    EXPECT_DOUBLE_EQ(param->dMaxThr, 3072);  // 75 % of the demonstration range 0 ... 4096

    CColorDlgBase* dlg = g_pColorDlg;
    const CPoint handle = dlg->HandlePoint(CColorDlgBase::kHighThr);
    const POINT press = {dlg->m_nViewLeft + handle.x, dlg->m_nViewTop + dlg->m_nViewHeight - 1 - handle.y};
    const int dx = -60;
    Shell("xdotool" + At(id, press) + " mousedown 1" + At(id, {press.x + dx / 2, press.y}) +
          At(id, {press.x + dx, press.y}) + " mouseup 1");
    const double dragged = 3072 + 4096.0 * dx / (dlg->m_nViewWidth - 2 * dlg->m_nMargin - 1);
    EXPECT_TRUE(LoopUntil([&] { return param->dMaxThr == dragged && GetCapture() == nullptr; }))
        << param->dMaxThr;

    // The wheel steps the threshold whose edit has the focus, 1 % a notch.
    const double percent = dlg->m_dMaxPct;
    Shell("xdotool" + At(id, {dlg->m_nViewLeft + 100, dlg->m_nViewTop + 100}) + " click 4");
    EXPECT_TRUE(LoopUntil([&] { return dlg->m_dMaxPct > percent; }));
    EXPECT_DOUBLE_EQ(dlg->m_dMaxPct, percent + 1);

    Shell("xdotool key Tab");
    EXPECT_TRUE(LoopUntil([&] { return GetFocus() == GetDlgItem(dialog, IDC_MIN_PCT); }));
    Shell("xdotool key shift+Tab");
    EXPECT_TRUE(LoopUntil([&] { return GetFocus() == maxPct; }));

    // The scheme list drops under its field, in a window of its own; a click picks a row.
    HWND scheme = GetDlgItem(dialog, IDC_SCHEME);
    const LRESULT first = SendMessageA(scheme, CB_GETCURSEL, 0, 0);
    Shell("xdotool" + At(id, Centre(dialog, IDC_SCHEME)) + " click 1");
    ASSERT_TRUE(LoopUntil([&] { return SendMessageA(scheme, CB_GETDROPPEDSTATE, 0, 0) != 0; }));
    LoopUntil([] { return false; }, 0.3);
    RECT field;
    GetWindowRect(scheme, &field);
    const int row = static_cast<int>(SendMessageA(scheme, CB_GETITEMHEIGHT, 0, 0));
    POINT third = {(field.left + field.right) / 2, field.bottom + 1 + 2 * row + row / 2};
    ScreenToClient(dialog, &third);
    Shell("xdotool" + At(id, third) + " click 1");
    EXPECT_TRUE(LoopUntil([&] { return SendMessageA(scheme, CB_GETCURSEL, 0, 0) == first + 2; }));
    EXPECT_FALSE(SendMessageA(scheme, CB_GETDROPPEDSTATE, 0, 0));

    // What the display shows is the surface, pixel for pixel.
    LoopUntil([] { return false; }, 0.5);
    int width = 0, height = 0, shotWidth = 0, shotHeight = 0;
    std::vector<uint32_t> surface;
    ASSERT_TRUE(portable::ReadClientPixels(dialog, width, height, surface));
    const std::vector<uint32_t> shot = Screenshot(id, shotWidth, shotHeight);
    EXPECT_EQ(shotWidth, width);
    EXPECT_EQ(shotHeight, height);
    EXPECT_TRUE(shot == surface);

    Shell("xdotool key Escape");
    EXPECT_TRUE(LoopUntil([&] { return !IsWindowVisible(dialog); }));
    EXPECT_FALSE(portable::OnDesktop(dialog));
    CQorColorDlg end;
}

std::string FirstLine(const std::string& text) { return text.substr(0, text.find('\n')); }

// A key and the wheel in the image window step the slice; a threshold typed
// into the window repaints the image on the display.
void DriveViewer(view::Viewer& viewer) {
    std::string image, table;
    ASSERT_TRUE(LoopUntil([&] {
        image = FirstLine(Shell("xdotool search --onlyvisible --name '^qorcolor-view - '"));
        table = FirstLine(Shell("xdotool search --onlyvisible --name '^Color Table$'"));
        return !image.empty() && !table.empty();
    }));
    const int axial = viewer.slice[int(view::Axis::kAxial)];
    Shell("timeout 5 xdotool windowfocus --sync " + image + " key Up" + At(image, {40, 40}) + " click 4");
    EXPECT_TRUE(LoopUntil([&] { return viewer.slice[int(view::Axis::kAxial)] == axial + 2; }));

    LoopUntil([] { return false; }, 0.3);
    int width = 0, height = 0;
    const std::vector<uint32_t> before = Screenshot(image, width, height);
    ASSERT_GT(width * height, 0);
    HWND dialog = FindWindowA(nullptr, "Color Table");
    Shell("timeout 5 xdotool windowfocus --sync " + table + At(table, Centre(dialog, IDC_MAX_PCT)) +
          " click 1 key End shift+Home type 30");
    EXPECT_TRUE(LoopUntil([&] { return Text(GetDlgItem(dialog, IDC_MAX_PCT)) == "30"; }));
    const auto* param = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
    EXPECT_EQ(viewer.tables.maxThr, param->dMaxThr);
    EXPECT_TRUE(LoopUntil([&] { return Screenshot(image, width, height) != before; }));
}

gboolean DriveAndClose(gpointer data) {
    DriveViewer(*static_cast<view::Viewer*>(data));
    GList* tops = gtk_window_list_toplevels();
    for (GList* t = tops; t; t = t->next) {
        const char* title = gtk_window_get_title(GTK_WINDOW(t->data));
        if (title && g_str_has_prefix(title, "qorcolor-view - ")) gtk_window_close(GTK_WINDOW(t->data));
    }
    g_list_free(tops);
    return G_SOURCE_REMOVE;
}

TEST(Desktop, TheViewerShowsItsImageWindowBesideTheWindow) {
    view::Viewer viewer;
    viewer.volume = view::MakePhantom();
    viewer.name = "phantom";
    g_timeout_add(100, DriveAndClose, &viewer);
    view::Options options;
    options.seconds = 60;  // a guard: the test closes the image window itself
    EXPECT_EQ(view::RunFrontEnd(viewer, options), 0);
    EXPECT_EQ(FindWindowA(nullptr, "Color Table"), nullptr);  // ended with the image window
}

}  // namespace
