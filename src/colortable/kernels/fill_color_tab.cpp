// The two fills of a data colour table: the value-indexed table of 8- and
// 16-bit integer data, and a ramp of evenly spaced samples over the stretch.
#include "fill_color_tab.h"

#include <algorithm>
#include <cstdint>

#include "interpolate_run.h"

namespace qorcolor::colortable {

void FillValueIndexed(const Stretch& stretch, unsigned int* table, ValueIndexedShape shape, double minThr,
                      double maxThr, InstructionSet limit) {
    const Stretch s = stretch;  // a local copy: writes to the table cannot alias it
    const int64_t n = shape.entries;
    const int64_t lo = TruncClamped(minThr - shape.offset, INT32_MIN, INT32_MAX);
    const int64_t hi = TruncClamped(maxThr - shape.offset, INT32_MIN, INT32_MAX);
    // [0, lowEnd) takes the lower colour, [highBegin, n) the upper one; only
    // the entries strictly between lo and hi are interpolated, so hi == lo
    // (an infinite step) interpolates nothing and the step is never formed.
    const int64_t lowEnd = std::clamp<int64_t>(lo + 1, 0, n);
    const int64_t highBegin = std::clamp<int64_t>(std::max(hi, lo + 1), 0, n);
    std::fill(table, table + lowEnd, s.table[s.low]);
    if (lowEnd < highBegin) {
        const double step = s.span / static_cast<double>(hi - lo);
        const double fromLo = static_cast<double>(lowEnd - lo);
        PickKernel(limit, &InterpolateRun, QC_X86_KERNEL(&InterpolateRunAvx2))(s, table, lowEnd, highBegin,
                                                                               fromLo, step);
    }
    std::fill(table + highBegin, table + n, s.table[s.high]);
}

}  // namespace qorcolor::colortable

namespace qorcolor::colortable {

void FillRamp(const Stretch& stretch, unsigned int* table, int count) {
    const Stretch s = stretch;  // a local copy: writes to the table cannot alias it
    const double step = count > 1 ? s.span / static_cast<double>(count - 1) : 0.0;
    for (int i = 0; i < count; ++i) table[i] = Mix(Locate(s, i * step));
}

}  // namespace qorcolor::colortable
