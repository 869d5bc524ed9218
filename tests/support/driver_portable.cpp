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

namespace {

int SendMenuKeys(HWND menu, const std::vector<portable::PopupMenuItem>&, void* keys) {
    for (UINT key : *static_cast<const std::vector<UINT>*>(keys))
        portable::DeliverInput(menu, WM_KEYDOWN, key, 1);
    return -1;
}

}  // namespace

void ContextMenuKeys(HWND control, const std::vector<UINT>& menuKeys) {
    portable::SetPopupMenuAnswerer(&SendMenuKeys, const_cast<std::vector<UINT>*>(&menuKeys));
    Key(control, WM_KEYDOWN, VK_APPS);
    Key(control, WM_KEYUP, VK_APPS);
    portable::SetPopupMenuAnswerer(nullptr, nullptr);
}

}  // namespace driver
