// A small NIfTI reader: the header (NIfTI-1, 348 bytes, or NIfTI-2, 540) and
// the first 3-D volume of a single-file image (.nii), plain or
// gzip-compressed (.nii.gz), in either byte order.
//
// Structs: Volume
// Functions: ReadNiftiBytes, ReadNiftiFile, VoxelSize, TypeName
//
// Only the element types the colour table window accepts are read, with their
// NIfTI datatype codes, so the voxels go to the window as they are. Scale
// slope and intercept are reported, never applied. Every failure leaves a
// sentence in `error` and returns false; no input makes the reader read or
// write outside its buffers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace nifti {

struct Volume {
    int datatype = 0;        // a QorDataType code (<qorcolor/datatypes.h>)
    int dim[3] = {0, 0, 0};  // x fastest; dims 1 to 3, or 5 to 7 in CIFTI files
    int volumes = 1;  // 3-D volumes in the file (dims 4 to 7, or 1 to 4 in CIFTI files); the first is read
    float pixdim[3] = {1, 1, 1};      // voxel size, 1 where the file gives no usable one
    double slope = 0, intercept = 0;  // scl_slope, scl_inter as stored (slope 0: none)
    bool bigEndian = false;           // byte order of the file; `voxels` are in this machine's order
    std::string description;
    std::vector<uint8_t> voxels;  // dim[0] * dim[1] * dim[2] elements of the datatype

    size_t Count() const { return size_t(dim[0]) * size_t(dim[1]) * size_t(dim[2]); }
};

// Bytes per element of a datatype code the window accepts, 0 for any other.
int VoxelSize(int datatype);
const char* TypeName(int datatype);

// `bytes` is a whole file as stored: gzip streams (one or more members) are
// recognised by their first two bytes.
bool ReadNiftiBytes(const uint8_t* bytes, size_t size, Volume& volume, std::string& error);
bool ReadNiftiFile(const std::string& path, Volume& volume, std::string& error);

}  // namespace nifti
