// A full repaint of the colour table window on the portable window system:
// the whole dialog invalidated, then every control and the view painted
// again, text included, as a desktop expose or a host's redraw asks for it.
#include <benchmark/benchmark.h>
#include <qorcolor/qorcolor.h>

#include "framework/win_api.h"

namespace {

void PaintAll() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

void BM_FullDialogRepaint(benchmark::State& state) {
    CQorColorDlg::show();
    HWND dialog = FindWindowA(nullptr, "Color Table");
    PaintAll();  // the glyphs are rendered once, on the first paint
    for (auto _ : state) {
        InvalidateRect(dialog, nullptr, TRUE);
        PaintAll();
    }
    CQorColorDlg end;
}
BENCHMARK(BM_FullDialogRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
