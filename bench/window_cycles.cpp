// A host that opens the tool once per document: 5,000 show/end cycles of the
// whole window on the portable window system. The counters give the time and
// the heap growth per cycle over the first and the last 500 cycles, which
// stay flat when ended windows leave nothing behind.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <qorcolor/qorcolor.h>

#include <chrono>
#include <cstddef>

#include "framework/portable/portable_testing.h"

namespace {

constexpr int kCycles = 5000;
constexpr int kBatch = 500;

size_t HeapInUse() { return mallinfo2().uordblks; }

void Cycle() {
    CQorColorDlg::show();
    CQorColorDlg end;
}

void BM_ShowEndCycles(benchmark::State& state) {
    for (auto _ : state) {
        double firstMs = 0, lastMs = 0;
        long long firstBytes = 0, lastBytes = 0;
        for (int batch = 0; batch < kCycles / kBatch; ++batch) {
            const size_t heap = HeapInUse();
            const auto start = std::chrono::steady_clock::now();
            for (int i = 0; i < kBatch; ++i) Cycle();
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            const long long bytes = static_cast<long long>(HeapInUse()) - static_cast<long long>(heap);
            if (batch == 0) firstMs = ms, firstBytes = bytes;
            lastMs = ms, lastBytes = bytes;
        }
        state.counters["ms_per_cycle_first500"] = firstMs / kBatch;
        state.counters["ms_per_cycle_last500"] = lastMs / kBatch;
        state.counters["bytes_per_cycle_first500"] = static_cast<double>(firstBytes) / kBatch;
        state.counters["bytes_per_cycle_last500"] = static_cast<double>(lastBytes) / kBatch;
        state.counters["window_records"] = static_cast<double>(portable::WindowRecordCount());
    }
}
BENCHMARK(BM_ShowEndCycles)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
