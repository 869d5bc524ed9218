// The two table builders shared by the data colour table operations.
//
// Routines: FillValueIndexed, FillRamp
// Enums: Kernel
#pragma once

#include "interpolate.h"
#include "table_shape.h"

namespace qorcolor::colortable {

// Best takes the widest instructions the processor has; Baseline keeps to
// the ones every x86-64 processor has. Both write the same entries.
enum class Kernel { Best, Baseline };

// Writes shape.entries entries: the lower colour up to the lower threshold's
// entry, the stretch interpolated up to the upper threshold's entry, the
// upper colour from there on.
void FillValueIndexed(const Stretch& s, unsigned int* table, ValueIndexedShape shape, double minThr,
                      double maxThr, Kernel kernel = Kernel::Best);

// Writes count (at least 1) entries spread evenly over the stretch, from the
// lower colour to the upper one; a single entry is the lower colour.
void FillRamp(const Stretch& s, unsigned int* table, int count);

}  // namespace qorcolor::colortable
