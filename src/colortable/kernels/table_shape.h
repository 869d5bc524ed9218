// The two shapes of a data colour table, chosen by the datatype code.
//
// Records: ValueIndexedShape
// Routines: ValueIndexedShapeOf
#pragma once

#include <qorcolor/datatypes.h>

#include <optional>

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
    const DataType* type = FindDataType(dataType);
    if (!type || type->tableEntries == 0) return std::nullopt;
    return ValueIndexedShape{type->tableEntries, double(type->tableOffset)};
}

}  // namespace qorcolor::colortable
