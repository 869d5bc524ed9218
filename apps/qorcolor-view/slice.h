// Paints one slice of a volume through the colour tables the host received.
//
// Enums: Axis
// Structs: Tables, Image, Size
// Functions: SliceCount, VoxelAt, PixelSize, ValueAt, RampIndex, PaintSlice, FitSlice, ScaleSlice
//
// No window code: the Win32 window, the pictures written on Linux and the
// tests all paint through these functions.
#pragma once

#include <cstdint>
#include <vector>

#include "nifti.h"

namespace qview {

enum class Axis { kAxial, kCoronal, kSagittal };  // slices of constant z, y, x

// What the colour table window gave the host at its last change.
struct Tables {
    bool valueIndexed = false;  // colors[value - offset] for 8- and 16-bit data
    int offset = 0;
    std::vector<uint32_t> colors;  // value-indexed table, or a ramp from the lower to the upper threshold
    std::vector<uint32_t> alpha;   // ramp between the thresholds whose top bytes are the alpha curve
    double minThr = 0, maxThr = 0;
};

// 0x00RRGGBB, rows top-down.
struct Image {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;
};

int SliceCount(const nifti::Volume& volume, Axis axis);
// Index into the volume of the voxel at column `col`, row `row` (from the
// top) of a slice. Rows run from superior (or anterior, for axial slices)
// down, as the axes of a NIfTI volume usually point.
size_t VoxelAt(const nifti::Volume& volume, Axis axis, int slice, int col, int row);
// Width and height in millimetres of one pixel of the slice.
void PixelSize(const nifti::Volume& volume, Axis axis, float& width, float& height);
double ValueAt(const nifti::Volume& volume, size_t index);
// Entry of a `count`-entry ramp for a value: 0 up to the lower threshold
// (and for a NaN), count - 1 from the upper one on, truncated between.
int RampIndex(double value, double minThr, double maxThr, int count);
// Each voxel's colour blended by its alpha over a grey checkerboard.
Image PaintSlice(const nifti::Volume& volume, Axis axis, int slice, const Tables& tables);

struct Size {
    int width = 0, height = 0;
};
// The largest size within maxWidth x maxHeight at which a slice of `width` x
// `height` pixels keeps the proportions of its pixels' millimetres; each side
// at least 1 and at most its bound (a bound below 1 counts as 1), whatever
// the proportions. {0, 0} for an empty slice.
Size FitSlice(int width, int height, float pixelWidth, float pixelHeight, int maxWidth, int maxHeight);
// Nearest-neighbour scaling to `size` (both sides at least 1).
Image ScaleSlice(const Image& in, Size size);

}  // namespace qview
