// The test-only view of the portable window system (portable_testing.h).
#include "portable_testing.h"
#include "window_system.h"

namespace portable {

bool ReadClientPixels(HWND hWnd, int& width, int& height, std::vector<uint32_t>& pixels) {
    Window* w = FindWindowRecord(hWnd);
    Window* top = TopLevelOf(w);
    if (!w || !top) return false;
    const SIZE size = ClientSize(w);
    const POINT origin = ScreenClientOrigin(w);
    const POINT topOrigin = ScreenClientOrigin(top);
    width = size.cx;
    height = size.cy;
    pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
        const long sy = origin.y - topOrigin.y + y;
        if (sy < 0 || sy >= top->surfaceHeight) continue;
        for (int x = 0; x < width; ++x) {
            const long sx = origin.x - topOrigin.x + x;
            if (sx < 0 || sx >= top->surfaceWidth) continue;
            pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
                top->surface[static_cast<size_t>(sy) * static_cast<size_t>(top->surfaceWidth) +
                             static_cast<size_t>(sx)];
        }
    }
    return true;
}

const std::vector<RecordedMessageBox>& RecordedMessageBoxes() { return System().messageBoxes; }

const std::vector<RecordedFileDialog>& RecordedFileDialogs() { return System().fileDialogs; }

void ClearRecordedQuestions() {
    System().messageBoxes.clear();
    System().fileDialogs.clear();
}

void DeliverInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam, bool shift, bool control) {
    System().shiftDown = shift;
    System().controlDown = control;
    MSG msg{};
    msg.hwnd = target;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    RouteInput(msg);
    for (int i = 0; i < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) RouteInput(msg);
    System().shiftDown = false;
    System().controlDown = false;
}

int LiveWindowCount() {
    int count = 0;
    for (auto& entry : System().windows) count += entry.second->alive ? 1 : 0;
    return count;
}

size_t WindowRecordCount() { return System().windows.size() + System().ended.size(); }

void ResetWindowSystem() {
    WindowSystem& system = System();
    std::vector<HWND> topLevel;
    for (auto& entry : system.windows) {
        if (entry.second->alive && IsTopLevel(entry.second.get())) topLevel.push_back(entry.second->handle);
    }
    for (HWND hWnd : topLevel) DestroyWindow(hWnd);
    system.windows.clear();
    system.ended.clear();
    system.queue.clear();
    system.focus = nullptr;
    system.capture = nullptr;
    system.dcs.clear();
    system.brushes.clear();
    ClearRecordedQuestions();
}

}  // namespace portable
