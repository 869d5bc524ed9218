// A host that leaves GTK to the library: it shows the window on $DISPLAY,
// says "shown" and asks a question in a message box while its timer calls
// the entry points; the test takes the display away, which ends the box. It
// goes on pumping GLib and calling until a line arrives on stdin, and ends
// with 0 when the window went on offscreen, kept answering and the loop is
// idle.
#include <glib.h>
#include <poll.h>
#include <qorcolor/qorcolor.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "framework/portable/portable_testing.h"

namespace {

std::vector<uint8_t> g_volume(32 * 32 * 8);
std::vector<unsigned int> g_table(256);
bool g_working = true;

void OnNotify(ColorTabParam*) {}

bool LineWaiting() {
    pollfd in = {0, POLLIN, 0};
    return poll(&in, 1, 0) > 0;
}

void Pump() {
    while (g_main_context_iteration(nullptr, FALSE)) continue;
}

// A fresh volume whose highest value is `top`: the whole window repaints.
void ShowVolume(uint8_t top) {
    for (size_t i = 0; i < g_volume.size(); ++i) g_volume[i] = static_cast<uint8_t>(i % (top + 1));
    CQorColorDlg::showInit(reinterpret_cast<void***>(g_volume.data()), -2, 32, 32, 8,
                           reinterpret_cast<void*>(&OnNotify), const_cast<char*>("lost display"),
                           g_table.data());
    CQorColorDlg::RecomputeHistogram();
    const auto* param = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
    g_working = g_working && param && param->dDataMax == top && CQorColorDlg::UpdateDataColorTab() != 0;
}

gboolean Tick(gpointer top) {
    ShowVolume(*static_cast<uint8_t*>(top) ^= 0x30);
    return G_SOURCE_CONTINUE;
}

gboolean Count(gpointer ticks) {
    ++*static_cast<int*>(ticks);
    return G_SOURCE_CONTINUE;
}

}  // namespace

int main() {
    ShowVolume(200);
    HWND dialog = FindWindowA(nullptr, QOR_CAPTION);
    for (int i = 0; i < 50; ++i, g_usleep(2000)) Pump();
    std::puts(portable::OnDesktop(dialog) ? "shown" : "offscreen");
    std::fflush(stdout);
    uint8_t top = 100;
    const guint host = g_timeout_add(10, Tick, &top);
    const int answer = MessageBoxA(dialog, "Still there?", "lost display", MB_OKCANCEL);
    g_source_remove(host);
    while (!LineWaiting()) {
        Pump();
        Tick(&top);
        g_usleep(2000);
    }
    ShowVolume(250);
    Pump();
    const bool working = g_working && answer == IDOK;  // a box the display took away answers as offscreen
    const bool offscreen = IsWindowVisible(dialog) && !portable::OnDesktop(dialog);
    // A blocking iteration of an idle loop sleeps until the next tick.
    int ticks = 0, iterations = 0;
    const guint timer = g_timeout_add(10, Count, &ticks);
    for (; ticks < 5 && iterations < 1000; ++iterations) g_main_context_iteration(nullptr, TRUE);
    g_source_remove(timer);
    const bool sleeps = iterations <= 2 * ticks;
    std::printf("working %d, offscreen %d, sleeps %d\n", working, offscreen, sleeps);
    { CQorColorDlg end; }
    return working && offscreen && sleeps ? 0 : 2;
}
