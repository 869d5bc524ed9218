// Datatype codes of the host's voxels (the NIfTI-1 codes).
#pragma once

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

}  // namespace qorcolor::histogram
