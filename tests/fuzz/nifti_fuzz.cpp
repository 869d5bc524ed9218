// libFuzzer target: any bytes, plain or gzip, through the NIfTI-1 reader. A
// read volume holds exactly the voxels its dimensions name and a refusal
// gives a reason and no voxels. Built and run by `make fuzz`.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "nifti.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    view::Volume volume;
    std::string error;
    if (view::ReadNiftiBytes(data, size, volume, error)) {
        if (volume.voxels.size() != volume.Count() * size_t(view::VoxelSize(volume.datatype))) std::abort();
    } else if (error.empty() || !volume.voxels.empty()) {
        std::abort();
    }
    return 0;
}
