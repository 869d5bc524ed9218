// The viewer: its NIfTI reader against nibabel on nibabel's own test volumes
// and against broken files, the window's histogram of each volume against the
// literal binning rule, and the loop window -> notification -> host table ->
// painted slice, pixel by pixel.
#include "viewer.h"

#include <gtest/gtest.h>
#include <qorcolor/qorcolor.h>

#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "nifti.h"
#include "phantom.h"
#include "slice.h"
#include "support/literal_histogram.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include "framework/portable/win32_subset.h"
#endif

namespace {

using view::Axis;
using view::Volume;

std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// nibabel's reading of each of its volumes; empty without nibabel.
struct Expected {
    std::string name;
    bool refused = true;
    int dim[3] = {}, datatype = 0, volumes = 0, big = 0;
};

std::vector<Expected> NibabelVolumes() {
    std::ifstream in(NIBABEL_EXPECT "/expect.txt");
    std::vector<Expected> all;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        Expected& e = all.emplace_back();
        std::string kind;
        fields >> e.name >> kind >> e.dim[0] >> e.dim[1] >> e.dim[2] >> e.datatype >> e.volumes >> e.big;
        e.refused = kind != "nifti";
    }
    return all;
}

TEST(ViewerReader, ReadsNibabelsVolumesAsNibabelDoes) {
    const std::vector<Expected> all = NibabelVolumes();
    if (all.empty()) GTEST_SKIP() << "nibabel's test data is not installed";
    int read = 0;
    for (const Expected& e : all) {
        SCOPED_TRACE(e.name);
        Volume v;
        std::string error;
        const bool ok = view::ReadNiftiFile(NIBABEL_DATA "/" + e.name, v, error);
        if (e.refused) {  // what nibabel reads as no NIfTI image, with a reason
            EXPECT_FALSE(ok);
            EXPECT_FALSE(error.empty());
            continue;
        }
        ASSERT_TRUE(ok) << error;
        EXPECT_EQ(std::tuple(v.dim[0], v.dim[1], v.dim[2], v.datatype, v.volumes, v.bigEndian),
                  std::tuple(e.dim[0], e.dim[1], e.dim[2], e.datatype, e.volumes, e.big == 1));
        EXPECT_TRUE(v.voxels == Bytes(NIBABEL_EXPECT "/" + e.name + ".raw"))
            << "voxels differ from nibabel's";
        ++read;
    }
    EXPECT_GE(read, 5);  // NIfTI-1 and -2, little- and big-endian, plain and gzip, 8-bit, 16-bit and float
}

// Broken forms of a valid file; each must fail with the reason named.
TEST(ViewerReader, BadFilesFailWithAReason) {
    const std::vector<uint8_t> good = Bytes(SEED_DATA "/uint8.nii"),
                               gz = Bytes(SEED_DATA "/int16-big.nii.gz");
    ASSERT_EQ(good.size(), 364u);
    auto with = [&](size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> file = good;
        for (size_t i = 0; i < bytes.size(); ++i) file[at + i] = bytes[i];
        return file;
    };
    auto cut = [](const std::vector<uint8_t>& file, size_t size) {
        return std::vector<uint8_t>(file.begin(), file.begin() + long(size));
    };
    std::vector<uint8_t> overflow = with(40, {7, 0});
    for (size_t i = 1; i <= 7; ++i) overflow[40 + 2 * i] = 0xff, overflow[41 + 2 * i] = 0x7f;  // 32767 each
    std::vector<uint8_t> corrupt = gz;
    corrupt[gz.size() - 6] ^= 0x55;  // in the checksum after the data
    const std::pair<std::vector<uint8_t>, const char*> cases[] = {
        {cut(good, 200), "ends inside the header"},
        {cut(good, good.size() - 1), "truncated"},
        {with(344, {'n', 'x', '1'}), "magic"},
        {with(344, {'n', 'i', '1'}), ".hdr/.img"},
        {with(0, {0x5d}), "header size field is 349"},
        {with(0, {0x1c, 0x02}), "ends inside the header"},  // a NIfTI-2 header is longer
        {overflow, "more voxels than"},
        {with(42, {0xe8, 0x03}), "truncated"},  // 1000 voxels a row: more than the file holds
        {with(44, {0xfd, 0xff}), "dimension 2 has -3"},
        {with(40, {0, 0}), "dim[0] is 0"},
        {with(70, {128, 0}), "datatype 128"},
        {with(108, {0, 0, 0x80, 0x43}), "voxel offset 256"},
        {cut(gz, gz.size() - 9), "gzip stream ends early"},
        {cut(gz, 30), "gzip stream ends early"},
        {cut(gz, gz.size() - 4), "gzip stream ends early"},  // no room for its length
        {corrupt, "gzip stream is corrupt"},
        {{}, "ends inside the header"},
    };
    for (const auto& [file, reason] : cases) {
        Volume v;
        std::string error;
        EXPECT_FALSE(view::ReadNiftiBytes(file.data(), file.size(), v, error)) << reason;
        EXPECT_NE(error.find(reason), std::string::npos)
            << "wanted \"" << reason << "\", got \"" << error << "\"";
        EXPECT_TRUE(v.voxels.empty());
    }
    Volume v;
    std::string error;
    EXPECT_FALSE(view::ReadNiftiFile(SEED_DATA "/missing.nii", v, error));
    EXPECT_NE(error.find("cannot open"), std::string::npos) << error;
}

// ---------------------------------------------------------------- through the window

// The volume's voxels through the literal rule.
template <class T>
LiteralResult LiteralOf(const Volume& volume) {
    std::vector<T> voxels(volume.Count());
    std::memcpy(voxels.data(), volume.voxels.data(), volume.voxels.size());
    return Literal(voxels, 100.0, 0.0);
}

LiteralResult LiteralOf(const Volume& v) {
    if (v.datatype == 2) return LiteralOf<uint8_t>(v);
    if (v.datatype == 16) return LiteralOf<float>(v);
    EXPECT_EQ(v.datatype, 4) << "no reference for this type";
    return LiteralOf<int16_t>(v);
}

void TypeInto(int id, const char* text) {
    HWND edit = GetDlgItem(FindWindowA(nullptr, "Color Table"), id);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (const char* c = text; *c; ++c) SendMessageA(edit, WM_CHAR, WPARAM(*c), 0);
}

// The pixel of a view at (col, row): rows from the top, so the voxel's y (for
// axial slices) or z counts down.
size_t Voxel(const Volume& v, Axis axis, size_t s, size_t col, size_t row) {
    const size_t nx = size_t(v.dim[0]), ny = size_t(v.dim[1]), nz = size_t(v.dim[2]);
    if (axis == Axis::kAxial) return (s * ny + ny - 1 - row) * nx + col;
    if (axis == Axis::kCoronal) return ((nz - 1 - row) * ny + s) * nx + col;
    return ((nz - 1 - row) * ny + col) * nx + s;
}

// Every pixel of every view equals the table entry the host gets for its
// voxel: the value-indexed table for 8- and 16-bit data, else the ramp across
// the thresholds. The alpha curve is flat, so no checkerboard shows.
void ExpectSlicesPaintedByTable(view::Viewer& viewer) {
    const Volume& v = viewer.volume;
    std::vector<unsigned int> table(65535);
    const int valueIndexed = CQorColorDlg::GenerateColorTab(table.data());
    const auto* p = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
    const int offset = v.datatype == 256 ? -128 : v.datatype == 4 ? -32768 : 0;
    for (Axis axis : {Axis::kAxial, Axis::kCoronal, Axis::kSagittal}) {
        view::ShowAxis(viewer, axis);
        const int s = viewer.slice[int(axis)];
        int mismatches = 0;
        for (int row = 0; row < viewer.image.height; ++row)
            for (int col = 0; col < viewer.image.width; ++col) {
                const double value = view::ValueAt(v, Voxel(v, axis, size_t(s), size_t(col), size_t(row)));
                const double q = (value - p->dMinThr) / (p->dMaxThr - p->dMinThr) * 255;
                const size_t last =
                    v.datatype == 2 || v.datatype == 256 ? 255 : 65534;  // the top value has no entry
                const size_t entry = valueIndexed            ? std::min(size_t(value - offset), last)
                                     : !(value > p->dMinThr) ? 0
                                     : value >= p->dMaxThr   ? 255
                                                             : size_t(q);
                mismatches += viewer.image.pixels[size_t(row) * size_t(viewer.image.width) + size_t(col)] !=
                              (table[entry] & 0xFFFFFF);
            }
        EXPECT_EQ(mismatches, 0) << "view " << int(axis);
        EXPECT_GT(viewer.image.width * viewer.image.height, 0);
    }
}

TEST(ViewerLoop, HistogramAndPaintedSlicesFollowTheWindow) {
    std::vector<Expected> files = NibabelVolumes();
    files.push_back({"", false});  // the phantom
    for (const Expected& file : files) {
        if (file.refused) continue;
        view::Viewer viewer;
        std::string error;
        viewer.volume = view::MakePhantom();
        if (!file.name.empty()) {
            ASSERT_TRUE(view::ReadNiftiFile(NIBABEL_DATA "/" + file.name, viewer.volume, error)) << error;
        }
        viewer.name = file.name;
        SCOPED_TRACE(view::Title(viewer));
        view::OpenInWindow(viewer);
        const LiteralResult want = LiteralOf(viewer.volume);
        const double lo = want.lo, hi = want.hi;
        const auto* counts = static_cast<const int32_t*>(CQorColorDlg::Initialize());
        ASSERT_NE(counts, nullptr);
        EXPECT_TRUE(std::equal(want.counts.begin(), want.counts.end(), counts))
            << "histogram differs from the literal rule";
        const auto* p = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
        EXPECT_EQ(std::tuple(p->dDataMin, p->dDataMax), std::tuple(lo, hi));
        const int before = viewer.repaints;
        TypeInto(1001, "70");  // upper and lower threshold in percent, typed as a user would
        TypeInto(1002, "15");
        EXPECT_GT(viewer.repaints, before) << "no repaint from the window's notifications";
        EXPECT_NEAR(viewer.tables.minThr, lo + (hi - lo) * 0.15, 1e-9 * (hi - lo));
        EXPECT_NEAR(viewer.tables.maxThr, lo + (hi - lo) * 0.70, 1e-9 * (hi - lo));
        ExpectSlicesPaintedByTable(viewer);
    }
    { CQorColorDlg end; }
}

}  // namespace
