// libFuzzer target: any bytes, plain or gzip, through the NIfTI reader, then
// each view of a read volume (up to 4M voxels) through the painter, the
// sizing and the scaling the front ends use, into boxes very wide and very
// tall. A read volume holds exactly the voxels its dimensions name, a refusal
// gives a reason and no voxels, and every image holds its width times its
// height pixels within its box. Built and run by `make fuzz`.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "nifti.h"
#include "slice.h"

namespace {

constexpr size_t kMaxVoxels = size_t(1) << 22;

bool Whole(const qview::Image& image) {
    return image.pixels.size() == size_t(image.width) * size_t(image.height);
}

// Value-indexed tables for 8- and 16-bit types (shorter than their range, so
// values clamp), a ramp for others; thresholds from the file's scale fields,
// whatever doubles they hold.
qview::Tables TablesFor(const nifti::Volume& volume) {
    qview::Tables tables;
    tables.valueIndexed = nifti::VoxelSize(volume.datatype) <= 2;
    tables.offset = -128;
    tables.colors.assign(tables.valueIndexed ? 300 : 256, 0x123456);
    tables.alpha.assign(256, 0x80000000u);
    tables.minThr = volume.intercept, tables.maxThr = volume.slope;
    return tables;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    nifti::Volume volume;
    std::string error;
    if (!nifti::ReadNiftiBytes(data, size, volume, error)) {
        if (error.empty() || !volume.voxels.empty()) std::abort();
        return 0;
    }
    if (volume.voxels.size() != volume.Count() * size_t(nifti::VoxelSize(volume.datatype))) std::abort();
    if (volume.Count() > kMaxVoxels) return 0;
    const qview::Tables tables = TablesFor(volume);
    for (qview::Axis axis : {qview::Axis::kAxial, qview::Axis::kCoronal, qview::Axis::kSagittal}) {
        const qview::Image image =
            qview::PaintSlice(volume, axis, qview::SliceCount(volume, axis) / 2, tables);
        if (image.width < 1 || image.height < 1 || !Whole(image)) std::abort();
        float pixelWidth = 1, pixelHeight = 1;
        qview::PixelSize(volume, axis, pixelWidth, pixelHeight);
        for (const qview::Size box : {qview::Size{1024, 4}, qview::Size{4, 1024}, qview::Size{1, 1}}) {
            const qview::Size fit =
                qview::FitSlice(image.width, image.height, pixelWidth, pixelHeight, box.width, box.height);
            if (fit.width < 1 || fit.width > box.width || fit.height < 1 || fit.height > box.height)
                std::abort();
            const qview::Image scaled = qview::ScaleSlice(image, fit);
            if (scaled.width != fit.width || scaled.height != fit.height || !Whole(scaled)) std::abort();
        }
    }
    return 0;
}
