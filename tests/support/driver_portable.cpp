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

void Key(HWND target, UINT message, UINT vk, bool shift, bool control) {
    portable::DeliverInput(target, message, vk, 1, shift, control);
}

}  // namespace driver
