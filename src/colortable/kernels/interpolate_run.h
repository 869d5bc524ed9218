// The hot loop of the value-indexed tables: entries begin..end - 1 of a
// table, entry i taken at position (i - lo) * step along the stretch.
//
// Routines: InterpolateRun, InterpolateRunAvx2
#pragma once

#include <cstdint>

#include "../../common/cpu_features.h"
#include "interpolate.h"

namespace qorcolor::colortable {

// fromLo is begin - lo; counting it in a double is exact and saves a
// conversion per entry.
inline void InterpolateRun(const Stretch& s, unsigned int* table, int64_t begin, int64_t end, double fromLo,
                           double step) {
    for (int64_t i = begin; i < end; ++i, fromLo += 1.0) table[i] = Mix(Locate(s, fromLo * step));
}

#if QC_X86_KERNELS
// InterpolateRun with the four bytes of an entry in one register: the same
// products, sums and truncations, so the same entries.
void InterpolateRunAvx2(const Stretch& s, unsigned int* table, int64_t begin, int64_t end, double fromLo,
                        double step);
#endif

}  // namespace qorcolor::colortable
