// The two table builders shared by the data colour table operations.
//
// Routines: FillValueIndexed, FillRamp
#pragma once

#include "../../common/cpu_features.h"
#include "interpolate.h"
#include "table_shape.h"

namespace qorcolor::colortable {

// Writes shape.entries entries: the lower colour up to the lower threshold's
// entry, the stretch interpolated up to the upper threshold's entry, the
// upper colour from there on. The widest instructions the processor has up
// to `limit` do it; every instruction set writes the same entries.
void FillValueIndexed(const Stretch& s, unsigned int* table, ValueIndexedShape shape, double minThr,
                      double maxThr, InstructionSet limit = InstructionSet::Avx512);

// Writes count (at least 1) entries spread evenly over the stretch, from the
// lower colour to the upper one; a single entry is the lower colour.
void FillRamp(const Stretch& s, unsigned int* table, int count);

}  // namespace qorcolor::colortable
