// Headless front end: drives the colour table window as a user would and
// writes the window and three views of the volume side by side as a picture.
#include <qorcolor/headless.h>
#include <qorcolor/qorcolor.h>

#include <algorithm>
#include <cstdio>

#include "front_end.h"

namespace qview {

namespace {

constexpr int kGap = 8;
constexpr uint32_t kBackground = 0x202020;
constexpr int kScriptedScheme = 13;  // "Inferno"

void Place(Image& canvas, const Image& part, int left) {
    for (int y = 0; y < part.height && y < canvas.height; ++y)
        for (int x = 0; x < part.width && left + x < canvas.width; ++x)
            canvas.pixels[size_t(y) * size_t(canvas.width) + size_t(left + x)] =
                part.pixels[size_t(y) * size_t(part.width) + size_t(x)];
}

bool WritePng(const std::string& path, const Image& image) {
    return QorWritePng(path.c_str(), image.pixels.data(), image.width, image.height) == 1;
}

// The window's client area once its pending paints are done.
Image ReadWindow() {
    QorPumpMessages();
    Image window;
    window.pixels.resize(size_t(std::max(0, QorReadWindowPixels(nullptr, nullptr, nullptr, 0))));
    QorReadWindowPixels(&window.width, &window.height, window.pixels.data(), int(window.pixels.size()));
    return window;
}

// The window's client area, then the middle slice of each view.
Image Compose(Viewer& viewer) {
    const Image window = ReadWindow();
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
    QorTypeText(QOR_IDC_MAX_PCT, "65");
    QorTypeText(QOR_IDC_MIN_PCT, "8");
    QorChooseComboItem(QOR_IDC_SCHEME, kScriptedScheme);
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

}  // namespace qview
