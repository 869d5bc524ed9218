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
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <thread>
#include <vector>

#if defined(QORCOLOR_HAVE_GTK)
#include <glib.h>
#endif

namespace {

constexpr int kDimX = 128, kDimY = 128, kDimZ = 64;
constexpr const qorcolor::DataType& kInt16 = *qorcolor::FindDataType(QOR_INT16);
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

void PumpFor(double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    do {
        QorPumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (std::chrono::steady_clock::now() < end);
}

// Pictures are written offscreen only: on Windows the window is captured from the screen.
#if defined(_WIN32)
constexpr bool kPictures = false;
#else
constexpr bool kPictures = true;
#endif

void SaveView(const std::string& folder, const char* name) {
    const std::string path = folder + "/" + name;
    if (kPictures && QorWriteViewPng(path.c_str())) std::printf("  wrote %s\n", path.c_str());
}

// The whole dialog as the window system drew it, after every pending paint.
void SaveDialog(const std::string& folder, const char* name) {
    if (!kPictures) return;
    PumpFor(0);
    int width = 0, height = 0;
    std::vector<unsigned int> pixels(static_cast<size_t>(QorReadWindowPixels(&width, &height, nullptr, 0)));
    if (pixels.empty() ||
        !QorReadWindowPixels(&width, &height, pixels.data(), static_cast<int>(pixels.size())))
        return;
    const std::string path = folder + "/" + name;
    if (QorWritePng(path.c_str(), pixels.data(), width, height)) std::printf("  wrote %s\n", path.c_str());
}

// Until the window is closed: a GLib loop on Linux, as GTK and Qt hosts run one.
int RunWindow() {
#if defined(_WIN32)
    while (QorIsWindowVisible()) PumpFor(0.05);
#elif defined(QORCOLOR_HAVE_GTK)
    if (!QorIsOnDesktop()) {
        std::fprintf(stderr, "demo-host: no display to show the window on\n");
        return 1;
    }
    while (QorIsWindowVisible()) g_main_context_iteration(nullptr, TRUE);
#else
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
    std::vector<unsigned int> table(static_cast<size_t>(kInt16.tableEntries));
    CQorColorDlg::showInit(reinterpret_cast<void***>(volume.data()), -QOR_INT16, kDimX, kDimY, kDimZ,
                           reinterpret_cast<void*>(&OnNotify), const_cast<char*>("synthetic scan 128x128x64"),
                           table.data());
    QorTypeText(QOR_IDC_MAX_PCT, "80");
    QorTypeText(QOR_IDC_MIN_PCT, "20");
    QorChooseComboItem(QOR_IDC_SCHEME, 5);
    if (!QorIsButtonChecked(QOR_IDC_LOG_SCALE)) QorClickButton(QOR_IDC_LOG_SCALE);
    PrintParam("showInit(): signed 16-bit volume, thresholds typed as 20 % and 80 %, scheme 5, log scale");

    const int shape = CQorColorDlg::UpdateDataColorTab();
    std::printf("  host table      %s, notifications so far %d\n", shape == 1 ? "value-indexed" : "ramp",
                g_notifications);
    for (int v : {-1000, 0, 1000, 2500})
        std::printf("  voxel %5d  -> 0x%08X\n", v, table[static_cast<size_t>(v - kInt16.tableOffset)]);
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
