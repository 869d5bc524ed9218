// Element types of the host's voxels.
//
// Enums: QorDataType (the NIfTI-1 datatype codes the window takes)
// C++ only:
//   Records: qorcolor::DataType (one row of the datatype table)
//   Routines: qorcolor::FindDataType, qorcolor::CodeOf, qorcolor::WithElementType
//
// showInit takes one of these codes for voxels given as slice pointers
// (data[z][y][x]) and the code negated, -QOR_FLOAT32 for example, for one
// flat buffer of dimX * dimY * dimZ voxels with x fastest.
#pragma once

enum QorDataType {
    QOR_UINT8 = 2,
    QOR_INT16 = 4,
    QOR_INT32 = 8,
    QOR_FLOAT32 = 16,
    QOR_FLOAT64 = 64,
    QOR_INT8 = 256,
    QOR_UINT16 = 512,
    QOR_UINT32 = 768,
};

#ifdef __cplusplus
// No standard header: the public headers serve hosts built without one.
namespace qorcolor {

// What the window knows of an element type. The 8- and 16-bit integer types
// get value-indexed data colour tables: entry i is for value i + tableOffset.
// The 16-bit tables stop one short of the type's highest value.
struct DataType {
    int code;
    int bytes;
    const char* name;
    bool isSigned;
    int tableEntries;  // 0: the type gets a ramp instead
    int tableOffset;
};

inline constexpr DataType kDataTypes[] = {
    {QOR_UINT8, 1, "uint8", false, 256, 0},       {QOR_INT8, 1, "int8", true, 256, -128},
    {QOR_INT16, 2, "int16", true, 65535, -32768}, {QOR_UINT16, 2, "uint16", false, 65535, 0},
    {QOR_INT32, 4, "int32", true, 0, 0},          {QOR_UINT32, 4, "uint32", false, 0, 0},
    {QOR_FLOAT32, 4, "float32", true, 0, 0},      {QOR_FLOAT64, 8, "float64", true, 0, 0},
};

// The row of `code`, or null for a code the window does not take.
constexpr const DataType* FindDataType(int code) {
    for (const DataType& type : kDataTypes)
        if (type.code == code) return &type;
    return nullptr;
}

namespace detail {
template <class A, class B>
inline constexpr bool kSame = false;
template <class A>
inline constexpr bool kSame<A, A> = true;
}  // namespace detail

// The code of an element type: uint8_t, int8_t, int16_t, uint16_t, int32_t,
// uint32_t, float or double.
template <class T>
constexpr QorDataType CodeOf() {
    using detail::kSame;
    static_assert(kSame<T, unsigned char> || kSame<T, signed char> || kSame<T, short> ||
                      kSame<T, unsigned short> || kSame<T, int> || kSame<T, unsigned int> ||
                      kSame<T, float> || kSame<T, double>,
                  "no datatype code for this element type");
    if constexpr (kSame<T, unsigned char>) return QOR_UINT8;
    if constexpr (kSame<T, signed char>) return QOR_INT8;
    if constexpr (kSame<T, short>) return QOR_INT16;
    if constexpr (kSame<T, unsigned short>) return QOR_UINT16;
    if constexpr (kSame<T, int>) return QOR_INT32;
    if constexpr (kSame<T, unsigned int>) return QOR_UINT32;
    if constexpr (kSame<T, float>) return QOR_FLOAT32;
    return QOR_FLOAT64;
}

// Calls visit(T()) with the element type T of `code`; false, without a call,
// for a code the window does not take.
template <class Visit>
bool WithElementType(int code, Visit&& visit) {
    switch (code) {
        case QOR_UINT8:
            visit(static_cast<unsigned char>(0));
            return true;
        case QOR_INT8:
            visit(static_cast<signed char>(0));
            return true;
        case QOR_INT16:
            visit(short());
            return true;
        case QOR_UINT16:
            visit(static_cast<unsigned short>(0));
            return true;
        case QOR_INT32:
            visit(int());
            return true;
        case QOR_UINT32:
            visit(static_cast<unsigned int>(0));
            return true;
        case QOR_FLOAT32:
            visit(float());
            return true;
        case QOR_FLOAT64:
            visit(double());
            return true;
        default:
            return false;
    }
}

}  // namespace qorcolor
#endif
