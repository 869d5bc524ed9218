#include "slice.h"

#include <qorcolor/datatypes.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qview {

namespace {

template <class T>
double Load(const uint8_t* at) {
    T v;
    std::memcpy(&v, at, sizeof v);
    return double(v);
}

uint32_t ColorOf(const Tables& t, double value) {
    if (t.colors.empty()) return 0;
    if (!t.valueIndexed) return t.colors[size_t(RampIndex(value, t.minThr, t.maxThr, int(t.colors.size())))];
    // The highest value of a 16-bit type has no entry of its own; it takes the last one.
    const long entry = std::clamp(long(value) - t.offset, 0L, long(t.colors.size()) - 1);
    return t.colors[size_t(entry)];
}

uint32_t Blend(uint32_t color, unsigned alpha, uint32_t back) {
    uint32_t out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned c = color >> shift & 0xFF, b = back >> shift & 0xFF;
        out |= uint32_t((c * alpha + b * (255 - alpha) + 127) / 255) << shift;
    }
    return out;
}

uint32_t Checker(int col, int row) { return (col / 8 + row / 8) % 2 ? 0x999999 : 0x666666; }

}  // namespace

int SliceCount(const nifti::Volume& volume, Axis axis) {
    return volume.dim[axis == Axis::kAxial ? 2 : axis == Axis::kCoronal ? 1 : 0];
}

size_t VoxelAt(const nifti::Volume& v, Axis axis, int slice, int col, int row) {
    const size_t nx = size_t(v.dim[0]), ny = size_t(v.dim[1]), nz = size_t(v.dim[2]);
    switch (axis) {
        case Axis::kAxial:
            return (size_t(slice) * ny + (ny - 1 - size_t(row))) * nx + size_t(col);
        case Axis::kCoronal:
            return ((nz - 1 - size_t(row)) * ny + size_t(slice)) * nx + size_t(col);
        default:
            return ((nz - 1 - size_t(row)) * ny + size_t(col)) * nx + size_t(slice);
    }
}

void PixelSize(const nifti::Volume& v, Axis axis, float& width, float& height) {
    width = v.pixdim[axis == Axis::kSagittal ? 1 : 0];
    height = v.pixdim[axis == Axis::kAxial ? 1 : 2];
}

double ValueAt(const nifti::Volume& v, size_t index) {
    const uint8_t* at = v.voxels.data() + index * size_t(nifti::VoxelSize(v.datatype));
    double value = 0;
    qorcolor::WithElementType(v.datatype, [&](auto type) { value = Load<decltype(type)>(at); });
    return value;
}

int RampIndex(double value, double minThr, double maxThr, int count) {
    if (!(value > minThr)) return 0;
    if (!(value < maxThr)) return count - 1;
    const double q = (value - minThr) / (maxThr - minThr) * (count - 1);
    return q >= 0 && q < count - 1 ? int(q) : q >= count - 1 ? count - 1 : 0;
}

Image PaintSlice(const nifti::Volume& volume, Axis axis, int slice, const Tables& tables) {
    Image image;
    const bool across = axis == Axis::kSagittal;
    image.width = volume.dim[across ? 1 : 0];
    image.height = volume.dim[axis == Axis::kAxial ? 1 : 2];
    if (slice < 0 || slice >= SliceCount(volume, axis) ||
        volume.voxels.size() < volume.Count() * size_t(nifti::VoxelSize(volume.datatype)))
        return Image{};
    image.pixels.resize(size_t(image.width) * size_t(image.height));
    const int alphaCount = int(tables.alpha.size());
    for (int row = 0; row < image.height; ++row)
        for (int col = 0; col < image.width; ++col) {
            const double value = ValueAt(volume, VoxelAt(volume, axis, slice, col, row));
            const unsigned alpha =
                alphaCount
                    ? tables.alpha[size_t(RampIndex(value, tables.minThr, tables.maxThr, alphaCount))] >> 24
                    : 255;
            image.pixels[size_t(row) * size_t(image.width) + size_t(col)] =
                Blend(ColorOf(tables, value) & 0xFFFFFF, alpha, Checker(col, row));
        }
    return image;
}

Size FitSlice(int width, int height, float pixelWidth, float pixelHeight, int maxWidth, int maxHeight) {
    if (width < 1 || height < 1) return {};
    // Products of ints and floats below 1e30 stay far inside a double's range.
    const auto mm = [](int pixels, float size) {
        return double(pixels) * (std::isfinite(size) && size > 0 ? double(size) : 1.0);
    };
    const double w = mm(width, pixelWidth), h = mm(height, pixelHeight);
    const double boxWidth = std::max(1, maxWidth), boxHeight = std::max(1, maxHeight);
    const double zoom = std::min(boxWidth / w, boxHeight / h);
    const auto side = [](double pixels, double box) {
        return int(pixels >= 1 ? std::min(std::round(pixels), box) : 1.0);
    };
    return {side(w * zoom, boxWidth), side(h * zoom, boxHeight)};
}

Image ScaleSlice(const Image& in, Size size) {
    Image out;
    if (in.width < 1 || in.height < 1 || size.width < 1 || size.height < 1) return out;
    out.width = size.width, out.height = size.height;
    out.pixels.resize(size_t(out.width) * size_t(out.height));
    for (int64_t y = 0; y < out.height; ++y) {
        const size_t from = size_t(y * in.height / out.height) * size_t(in.width);
        for (int64_t x = 0; x < out.width; ++x)
            out.pixels[size_t(y) * size_t(out.width) + size_t(x)] =
                in.pixels[from + size_t(x * in.width / out.width)];
    }
    return out;
}

}  // namespace qview
