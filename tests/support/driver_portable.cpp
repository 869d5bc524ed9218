// The portable backend's part of the test driver: client pixels come from
// the window system's surfaces.
#include "driver.h"
#include "framework/portable/portable_testing.h"

namespace driver {

Capture CaptureClient(HWND hWnd) {
    Capture capture;
    if (!portable::ReadClientPixels(hWnd, capture.width, capture.height, capture.pixels)) return Capture{};
    return capture;
}

}  // namespace driver
