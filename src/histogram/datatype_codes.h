// Datatype codes of the host's voxels (the NIfTI-1 codes).
//
// Enums: DataTypeCode
// Routines: CodeOf (the code of an element type)
#pragma once

#include <cstdint>
#include <type_traits>

namespace qorcolor::histogram {

enum DataTypeCode : int {
    kUInt8 = 2,
    kInt16 = 4,
    kInt32 = 8,
    kFloat32 = 16,
    kFloat64 = 64,
    kInt8 = 256,
    kUInt16 = 512,
    kUInt32 = 768,
};

template <class T>
constexpr DataTypeCode CodeOf() {
    static_assert(std::is_same_v<T, uint8_t> || std::is_same_v<T, int8_t> || std::is_same_v<T, int16_t> ||
                      std::is_same_v<T, uint16_t> || std::is_same_v<T, int32_t> ||
                      std::is_same_v<T, uint32_t> || std::is_same_v<T, float> || std::is_same_v<T, double>,
                  "no datatype code for this element type");
    if constexpr (std::is_same_v<T, uint8_t>) return kUInt8;
    if constexpr (std::is_same_v<T, int16_t>) return kInt16;
    if constexpr (std::is_same_v<T, int32_t>) return kInt32;
    if constexpr (std::is_same_v<T, float>) return kFloat32;
    if constexpr (std::is_same_v<T, double>) return kFloat64;
    if constexpr (std::is_same_v<T, int8_t>) return kInt8;
    if constexpr (std::is_same_v<T, uint16_t>) return kUInt16;
    return kUInt32;
}

}  // namespace qorcolor::histogram
