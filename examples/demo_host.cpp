// A small host of the colour table window: shows the demonstration
// histogram, then a generated multimodal volume, drives the window as a user
// would (thresholds typed in percent, a scheme picked, "Log space" switched
// on) and prints what the host receives.
//
//   demo-host [output-folder] [--hold seconds] [--window]
//
// On Linux the pictures of the view and of the whole dialog are written to
// the output folder, offscreen; on Windows the window stays up for --hold
// seconds so that it can be captured. With --window the window is shown on
// the desktop and the host runs until it is closed.
#include <qorcolor/headless.h>
#include <qorcolor/qorcolor.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <png.h>

#include "dialog/color_dlg.h"  // the portable build reaches into the window to save its canvas
#include "framework/portable/portable_testing.h"  // and into the window system for the whole dialog
#if defined(QORCOLOR_HAVE_GTK)
#include <glib.h>
#endif
#endif

namespace {

constexpr int kDimX = 128, kDimY = 128, kDimZ = 64;
int g_notifications = 0;

void OnNotify(ColorTabParam*) { ++g_notifications; }

void PrintParam(const char* title) {
    const auto* p = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
    std::printf("%s\n", title);
    std::printf("  data range      %.6g .. %.6g\n", p->dDataMin, p->dDataMax);
    std::printf("  thresholds      %.6g .. %.6g\n", p->dMinThr, p->dMaxThr);
    std::printf("  colour indices  %d .. %d of %d\n", p->nLowIndex, p->nHighIndex, p->nMaxIndex);
}

// Air, soft tissue and bone of a synthetic scan, signed 16-bit, x fastest.
std::vector<int16_t> MakeVolume() {
    std::mt19937 rng(20261205);
    std::normal_distribution<double> air(-950, 30), tissue(40, 60), bone(1200, 250);
    std::vector<int16_t> v(static_cast<size_t>(kDimX) * kDimY * kDimZ);
    size_t i = 0;
    for (int z = 0; z < kDimZ; ++z)
        for (int y = 0; y < kDimY; ++y)
            for (int x = 0; x < kDimX; ++x, ++i) {
                const double dx = x - kDimX / 2.0, dy = y - kDimY / 2.0;
                const double r = std::sqrt(dx * dx + dy * dy);
                const double value = r > 55 ? air(rng) : (r < 12 ? bone(rng) : tissue(rng));
                v[i] = static_cast<int16_t>(std::lround(std::fmin(3000, std::fmax(-1024, value))));
            }
    return v;
}

HWND Control(int id) { return GetDlgItem(FindWindowA(nullptr, "Color Table"), id); }

void TypeInto(int id, const char* text) {
    HWND edit = Control(id);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(*c), 0);
}

void PickScheme(int index) {
    HWND combo = Control(1010);
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(1010, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void PumpFor(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < end);
}

void SaveView(const std::string& folder, const char* name) {
#if defined(_WIN32)
    (void)folder;
    (void)name;
#else
    const std::string path = folder + "/" + name;
    if (g_pColorDlg->m_dib.SavePng(path.c_str())) std::printf("  wrote %s\n", path.c_str());
#endif
}

// The whole dialog as the window system drew it, after every pending paint.
void SaveDialog(const std::string& folder, const char* name) {
#if defined(_WIN32)
    (void)folder;
    (void)name;
#else
    PumpFor(0);
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
    if (!portable::ReadClientPixels(FindWindowA(nullptr, "Color Table"), width, height, pixels)) return;
    std::vector<uint8_t> rgb;
    for (uint32_t p : pixels) rgb.insert(rgb.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGB;
    const std::string path = folder + "/" + name;
    if (png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        std::printf("  wrote %s\n", path.c_str());
    }
#endif
}

// Until the window is closed: a GLib loop on Linux, as GTK and Qt hosts run one.
int RunWindow() {
    HWND dialog = FindWindowA(nullptr, "Color Table");
#if defined(_WIN32)
    while (IsWindowVisible(dialog)) PumpFor(0.05);
#elif defined(QORCOLOR_HAVE_GTK)
    if (!portable::OnDesktop(dialog)) {
        std::fprintf(stderr, "demo-host: no display to show the window on\n");
        return 1;
    }
    while (IsWindowVisible(dialog)) g_main_context_iteration(nullptr, TRUE);
#else
    (void)dialog;
    std::fprintf(stderr, "demo-host: built without GTK, the window cannot be shown\n");
    return 1;
#endif
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = "out";
    double hold = 0;
    bool window = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--hold") == 0 && i + 1 < argc) {
            hold = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--window") == 0) {
            window = true;
        } else {
            folder = argv[i];
        }
    }

#if !defined(_WIN32)
    if (!window) setenv("QORCOLOR_HEADLESS", "1", 1);  // pictures only, even on a desktop
#endif
    CQorColorDlg::show();
    PrintParam("show(): demonstration histogram");
    if (!window) SaveView(folder, "demo-view.png");

    std::vector<int16_t> volume = MakeVolume();
    std::vector<unsigned int> table(65535);
    CQorColorDlg::showInit(reinterpret_cast<void***>(volume.data()), -4, kDimX, kDimY, kDimZ,
                           reinterpret_cast<void*>(&OnNotify), const_cast<char*>("synthetic scan 128x128x64"),
                           table.data());
    TypeInto(1001, "80");
    TypeInto(1002, "20");
    PickScheme(5);
    if (SendMessageA(Control(1013), BM_GETCHECK, 0, 0) != BST_CHECKED)
        SendMessageA(Control(1013), BM_CLICK, 0, 0);
    PrintParam("showInit(): signed 16-bit volume, thresholds typed as 20 % and 80 %, scheme 5, log scale");

    const int shape = CQorColorDlg::UpdateDataColorTab();
    std::printf("  host table      %s, notifications so far %d\n", shape == 1 ? "value-indexed" : "ramp",
                g_notifications);
    for (int v : {-1000, 0, 1000, 2500}) std::printf("  voxel %5d  -> 0x%08X\n", v, table[v + 32768]);
    int status = 0;
    if (window) {
        status = RunWindow();
    } else {
        SaveView(folder, "volume-view.png");
        SaveDialog(folder, "linux-dialog.png");
    }
    if (hold > 0) PumpFor(hold);
    { CQorColorDlg end; }
    return status;
}
