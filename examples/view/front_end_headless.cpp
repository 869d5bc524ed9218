// Headless front end: drives the colour table window as a user would and
// writes the window and three views of the volume side by side as a picture.
#include <qorcolor/qorcolor.h>

#include <cstdio>

#include "canvas/dib.h"
#include "framework/portable/portable_testing.h"  // reads the window's pixels back
#include "front_end.h"
#include "res/resource.h"

namespace view {

namespace {

constexpr int kGap = 8;
constexpr uint32_t kBackground = 0x202020;
constexpr int kScriptedScheme = 13;  // "Inferno"

HWND Control(int id) { return GetDlgItem(FindWindowA(nullptr, "Color Table"), id); }

// Types into an edit character by character, as the keyboard would.
void TypeInto(int id, const char* text) {
    HWND edit = Control(id);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c) SendMessageA(edit, WM_CHAR, WPARAM(*c), 0);
}

void PickScheme(int index) {
    HWND combo = Control(IDC_SCHEME);
    SendMessageA(combo, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageA(GetParent(combo), WM_COMMAND, MAKEWPARAM(IDC_SCHEME, CBN_SELCHANGE), LPARAM(combo));
}

void Place(Image& canvas, const Image& part, int left) {
    for (int y = 0; y < part.height && y < canvas.height; ++y)
        for (int x = 0; x < part.width && left + x < canvas.width; ++x)
            canvas.pixels[size_t(y) * size_t(canvas.width) + size_t(left + x)] =
                part.pixels[size_t(y) * size_t(part.width) + size_t(x)];
}

// Through the canvas library's PNG writer; canvas rows count from the bottom.
bool WritePng(const std::string& path, const Image& image) {
    CDIB dib;
    if (!dib.NewCreate(image.width, image.height, 24, 0, 1)) return false;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const uint32_t pixel = image.pixels[size_t(y) * size_t(image.width) + size_t(x)];
            const int row = image.height - 1 - y;
            dib.Line(x, row, x, row, uint8_t(pixel >> 16), uint8_t(pixel >> 8), uint8_t(pixel));
        }
    return dib.SavePng(path.c_str());
}

// Lets the window system paint what is pending. Bounded: a window that
// keeps invalidating itself cannot hang the program.
void PumpMessages() {
    MSG message;
    for (int i = 0; i < 100000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// The window's client area, then the middle slice of each view.
Image Compose(Viewer& viewer) {
    PumpMessages();
    Image window;
    portable::ReadClientPixels(FindWindowA(nullptr, "Color Table"), window.width, window.height,
                               window.pixels);
    std::vector<Image> views{window};
    for (Axis a : {Axis::kAxial, Axis::kCoronal, Axis::kSagittal}) {
        ShowAxis(viewer, a);
        float w = 1, h = 1;
        PixelSize(viewer.volume, a, w, h);
        const Image& image = viewer.image;
        views.push_back(
            ScaleSlice(image, FitSlice(image.width, image.height, w, h, 2 * window.height, window.height)));
    }
    Image canvas;
    canvas.height = window.height;
    for (const Image& v : views) canvas.width += v.width + kGap;
    canvas.pixels.assign(size_t(canvas.width) * size_t(canvas.height), kBackground);
    int left = 0;
    for (const Image& v : views) Place(canvas, v, left), left += v.width + kGap;
    return canvas;
}

}  // namespace

int RunHeadless(Viewer& viewer, const Options& options) {
    OpenInWindow(viewer);
    const int before = viewer.repaints;
    TypeInto(IDC_MAX_PCT, "65");
    TypeInto(IDC_MIN_PCT, "8");
    PickScheme(kScriptedScheme);
    const int notified = viewer.repaints - before;
    std::printf("%s\n  thresholds %g .. %g, %d repaints from notifications\n", Title(viewer).c_str(),
                viewer.tables.minThr, viewer.tables.maxThr, notified);
    const std::string path = options.outFolder + "/viewer-" + viewer.name + ".png";
    const bool written = notified > 0 && WritePng(path, Compose(viewer));
    { CQorColorDlg end; }
    if (!written) {
        std::fprintf(stderr, "qorcolor-view: %s\n",
                     notified ? ("cannot write " + path).c_str() : "the window never notified");
        return 1;
    }
    std::printf("  wrote %s\n", path.c_str());
    return 0;
}

#if !defined(QORCOLOR_HAVE_GTK)
int RunFrontEnd(Viewer& viewer, const Options& options) { return RunHeadless(viewer, options); }
#endif

}  // namespace view
