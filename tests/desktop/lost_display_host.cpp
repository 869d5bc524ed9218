// A host that leaves GTK to the library: it shows the window on $DISPLAY,
// says "shown", then pumps GLib and calls the entry points until a line
// arrives on stdin; the test takes the display away meanwhile. It ends with
// 0 when the window went on offscreen and kept answering.
#include <glib.h>
#include <poll.h>
#include <qorcolor/qorcolor.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/portable/portable_testing.h"

namespace {

int g_notifications = 0;
void OnNotify(ColorTabParam*) { ++g_notifications; }

bool LineWaiting() {
    pollfd in = {0, POLLIN, 0};
    return poll(&in, 1, 0) > 0;
}

void Pump() {
    while (g_main_context_iteration(nullptr, FALSE)) continue;
}

// A fresh volume whose highest value is `top`: the whole window repaints.
bool ShowVolume(std::vector<uint8_t>& volume, std::vector<unsigned int>& table, uint8_t top) {
    for (size_t i = 0; i < volume.size(); ++i) volume[i] = static_cast<uint8_t>(i % (top + 1));
    CQorColorDlg::showInit(reinterpret_cast<void***>(volume.data()), -2, 32, 32, 8,
                           reinterpret_cast<void*>(&OnNotify), const_cast<char*>("lost display"),
                           table.data());
    CQorColorDlg::RecomputeHistogram();
    const auto* param = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
    return param && param->dDataMax == top && CQorColorDlg::UpdateDataColorTab() != 0;
}

}  // namespace

int main() {
    std::vector<uint8_t> volume(32 * 32 * 8);
    std::vector<unsigned int> table(256);
    bool working = ShowVolume(volume, table, 200);
    HWND dialog = FindWindowA(nullptr, "Color Table");
    for (int i = 0; i < 50; ++i, g_usleep(2000)) Pump();
    std::puts(portable::OnDesktop(dialog) ? "shown" : "offscreen");
    std::fflush(stdout);
    for (uint8_t top = 100; !LineWaiting(); top = top == 100 ? 150 : 100, g_usleep(2000)) {
        Pump();
        working = ShowVolume(volume, table, top) && working;
    }
    working = ShowVolume(volume, table, 250) && working;
    Pump();
    const bool offscreen = IsWindowVisible(dialog) && !portable::OnDesktop(dialog);
    std::printf("working %d, offscreen %d\n", working, offscreen);
    { CQorColorDlg end; }
    return working && offscreen ? 0 : 2;
}
