// The two shapes of a data colour table, chosen by the datatype code.
//
// Records: ValueIndexedShape
// Routines: ValueIndexedShapeOf
#pragma once

#include <optional>

#include "../histogram/datatype_codes.h"

namespace qorcolor::colortable {

// A table with one entry per voxel value: entry i is for value i + offset.
// The 16-bit tables stop one short of the type's highest value.
struct ValueIndexedShape {
    int entries;
    double offset;
};

// Entries of the ramp that the other datatypes get when the caller names no count.
inline constexpr int kRampEntries = 256;

// The value-indexed shape of 8- and 16-bit integer data; nothing for the
// datatypes that get a ramp.
inline std::optional<ValueIndexedShape> ValueIndexedShapeOf(int dataType) {
    using namespace qorcolor::histogram;
    switch (dataType) {
        case kUInt8:
            return ValueIndexedShape{256, 0.0};
        case kInt8:
            return ValueIndexedShape{256, -128.0};
        case kInt16:
            return ValueIndexedShape{65535, -32768.0};
        case kUInt16:
            return ValueIndexedShape{65535, 0.0};
        default:
            return std::nullopt;
    }
}

}  // namespace qorcolor::colortable
