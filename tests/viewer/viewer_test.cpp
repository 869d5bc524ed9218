// The viewer: its NIfTI reader against nibabel and broken files, and the loop
// window -> notification -> host table -> painted slice, pixel by pixel.
#include "viewer.h"

#include <gtest/gtest.h>
#include <qorcolor/headless.h>
#include <qorcolor/qorcolor.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>

#include "nifti.h"
#include "phantom.h"
#include "slice.h"
#include "support/literal_histogram.h"

#if !defined(_WIN32)
#include <png.h>
#include <sys/stat.h>
#endif

namespace {

using nifti::Volume;
using qview::Axis;

std::vector<uint8_t> Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Broken forms of a valid file; each must fail with the reason named.
TEST(ViewerReader, BadFilesFailWithAReason) {
    const std::vector<uint8_t> good = Bytes(SEED_DATA "/uint8.nii"),
                               gz = Bytes(SEED_DATA "/int16-big.nii.gz");
    ASSERT_EQ(good.size(), 364u);
    auto with = [&](size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> file = good;
        return std::ranges::copy(bytes, file.begin() + long(at)), file;
    };
    auto cut = [](std::vector<uint8_t> file, size_t size) { return file.resize(size), file; };
    std::vector<uint8_t> overflow = with(40, {7, 0});
    for (size_t i = 1; i <= 7; ++i) overflow[40 + 2 * i] = 0xff, overflow[41 + 2 * i] = 0x7f;  // 32767 each
    std::vector<uint8_t> corrupt = gz, padded = gz, trailing = gz;
    corrupt[gz.size() - 6] ^= 0x55;  // in the checksum after the data
    padded.resize(gz.size() + 512);  // zeros to a block size, which gzip -d accepts
    trailing.insert(trailing.end(), {0, 0, 1});
    const std::pair<std::vector<uint8_t>, const char*> cases[] = {
        {cut(good, 200), "ends inside the header"},
        {cut(good, good.size() - 1), "truncated"},
        {with(344, {'n', 'x', '1'}), "magic"},
        {with(344, {'n', 'i', '1'}), ".hdr/.img"},
        {with(0, {0x5d}), "header size field is 349"},
        {with(0, {0x1c, 0x02}), "ends inside the header"},  // a NIfTI-2 header is longer
        {overflow, "more voxels than"},
        {with(44, {0xfd, 0xff}), "dimension 2 has -3"},
        {with(40, {0, 0}), "dim[0] is 0"},
        {with(70, {128, 0}), "datatype 128"},
        {with(72, {16, 0}), "bitpix is 16, but datatype 2 (uint8) has 8 bits"},
        {with(108, {0, 0, 0x80, 0x43}), "voxel offset 256"},
        {cut(gz, gz.size() - 9), "gzip stream ends early"},
        {cut(gz, gz.size() - 4), "gzip stream ends early"},  // no room for its length
        {corrupt, "gzip stream is corrupt"},
        {trailing, "gzip stream is corrupt"},
    };
    Volume v;
    std::string error;
    for (const auto& [file, reason] : cases) {
        const bool ok = nifti::ReadNiftiBytes(file.data(), file.size(), v, error);
        EXPECT_TRUE(!ok && error.find(reason) != std::string::npos && v.voxels.empty())
            << "wanted \"" << reason << "\", got \"" << error << "\"";
    }
    EXPECT_TRUE(!nifti::ReadNiftiFile(SEED_DATA "/missing.nii", v, error) && error.find("cannot open") == 0)
        << error;
    EXPECT_TRUE(nifti::ReadNiftiBytes(padded.data(), padded.size(), v, error)) << error;
    // Neither a folder nor a FIFO without a writer is opened: the FIFO would block.
    std::vector<std::string> others{SEED_DATA};
#if !defined(_WIN32)
    others.push_back(testing::TempDir() + "viewer_test_fifo");
    std::remove(others.back().c_str());
    ASSERT_EQ(mkfifo(others.back().c_str(), 0600), 0);
#endif
    for (const std::string& path : others)
        EXPECT_TRUE(!nifti::ReadNiftiFile(path, v, error) && error == "it is not a regular file")
            << path << error;
}

// A view fits its box in its pixels' proportions, however thin or extreme,
// and is never smaller than a pixel nor larger than the box.
TEST(Viewer, FitsASliceIntoItsBox) {
    struct Case {
        int width, height;
        float pixelWidth, pixelHeight;
        int boxWidth, boxHeight;
        qview::Size want;
    };
    const Case cases[] = {
        {256, 128, 1, 2, 1024, 512, {512, 512}},
        {INT32_MAX, 1, 1, 1, 1920, 512, {1920, 1}},
        {1, 1, 1e29f, 1e-29f, 1920, 512, {1920, 1}},
        {1, INT32_MAX, 1e-29f, 1e29f, 1920, 512, {1, 512}},
        {2, 2, -1, NAN, 30, 50, {30, 30}},  // unusable pixel sizes count as 1
        {5, 5, 1, 1, 0, -4, {1, 1}},
        {0, 5, 1, 1, 100, 100, {0, 0}},
    };
    for (const Case& c : cases) {
        const qview::Size got =
            qview::FitSlice(c.width, c.height, c.pixelWidth, c.pixelHeight, c.boxWidth, c.boxHeight);
        EXPECT_EQ(std::tuple(got.width, got.height), std::tuple(c.want.width, c.want.height))
            << c.width << "x" << c.height << " in " << c.boxWidth << "x" << c.boxHeight;
    }
}

// The pixel of a view at (col, row): rows from the top, so the voxel's y (for
// axial slices) or z counts down.
size_t Voxel(const Volume& v, Axis axis, size_t s, size_t col, size_t row) {
    const size_t nx = size_t(v.dim[0]), ny = size_t(v.dim[1]), nz = size_t(v.dim[2]);
    if (axis == Axis::kAxial) return (s * ny + ny - 1 - row) * nx + col;
    if (axis == Axis::kCoronal) return ((nz - 1 - row) * ny + s) * nx + col;
    return ((nz - 1 - row) * ny + col) * nx + s;
}

// The volume's voxels through the literal rule.
LiteralResult LiteralOf(const Volume& v) {
    const auto of = [&v](auto type) {
        std::vector<decltype(type)> voxels(v.Count());
        std::memcpy(voxels.data(), v.voxels.data(), v.voxels.size());
        return Literal(voxels, 100.0, 0.0);
    };
    if (v.datatype == QOR_UINT8) return of(uint8_t{});
    if (v.datatype == QOR_FLOAT32) return of(float{});
    EXPECT_EQ(v.datatype, QOR_INT16) << "no reference for this type";
    return of(int16_t{});
}

// nibabel's volumes read as nibabel reads them; they and the phantom through
// the window: the literal histogram, typed thresholds reach the viewer, and
// each pixel of each view is the host table's entry for its voxel (value-indexed
// for 8- and 16-bit data, else the ramp; a flat alpha shows no checkerboard).
TEST(Viewer, ReadsAsNibabelDoesAndPaintsWhatTheWindowGives) {
    // nibabel's reading of its volumes, a line each: the name, then "refused",
    // or "nifti" with the three dimensions, the datatype, the number of volumes
    // and 1 for big-endian. None without nibabel.
    std::ifstream in(NIBABEL_EXPECT "/expect.txt");
    std::vector<std::string> files;
    for (std::string line; std::getline(in, line);) files.push_back(line);
    const size_t fromNibabel = files.size();
    files.push_back("");  // the phantom
    size_t read = 0;
    for (const std::string& expected : files) {
        const std::string name = expected.substr(0, expected.find(' '));
        SCOPED_TRACE(name);
        qview::Viewer viewer;
        Volume& v = viewer.volume = qview::MakePhantom();
        viewer.name = name;
        std::string error;
        const bool ok = name.empty() || nifti::ReadNiftiFile(NIBABEL_DATA "/" + name, v, error);
        // What nibabel reads as no NIfTI image is refused, with a reason.
        const bool refused = expected.ends_with(" refused");
        EXPECT_EQ(std::tuple(ok, error.empty()), std::tuple(!refused, !refused)) << error;
        if (!ok) continue;
        if (!name.empty()) {
            std::ostringstream got;
            got << name << " nifti " << v.dim[0] << ' ' << v.dim[1] << ' ' << v.dim[2] << ' ' << v.datatype
                << ' ' << v.volumes << ' ' << v.bigEndian;
            EXPECT_EQ(got.str(), expected);
            EXPECT_TRUE(v.voxels == Bytes(NIBABEL_EXPECT "/" + name + ".raw")) << "not nibabel's voxels";
            ++read;
        }
        qview::OpenInWindow(viewer);
        const LiteralResult want = LiteralOf(v);
        const double lo = want.lo, hi = want.hi;
        const auto* counts = static_cast<const int32_t*>(CQorColorDlg::Initialize());
        ASSERT_NE(counts, nullptr);
        EXPECT_TRUE(std::equal(want.counts.begin(), want.counts.end(), counts)) << "histogram";
        const auto* p = static_cast<const ColorTabParam*>(CQorColorDlg::GetColorTabParam());
        EXPECT_EQ(std::tuple(p->dDataMin, p->dDataMax), std::tuple(lo, hi));
        const int before = viewer.repaints;
        EXPECT_TRUE(QorTypeText(QOR_IDC_MAX_PCT, "70") && QorTypeText(QOR_IDC_MIN_PCT, "15"));
        EXPECT_GT(viewer.repaints, before) << "no repaint from the window's notifications";
        EXPECT_NEAR(viewer.tables.minThr, lo + (hi - lo) * 0.15, 1e-9 * (hi - lo));
        EXPECT_NEAR(viewer.tables.maxThr, lo + (hi - lo) * 0.70, 1e-9 * (hi - lo));

        std::vector<unsigned int> table(65535);
        const int valueIndexed = CQorColorDlg::GenerateColorTab(table.data());
        const int offset = v.datatype == QOR_INT16 ? -32768 : 0;
        const size_t last = v.datatype == QOR_UINT8 ? 255 : 65534;  // the top value has no entry
        for (Axis axis : {Axis::kAxial, Axis::kCoronal, Axis::kSagittal}) {
            qview::ShowAxis(viewer, axis);
            const size_t s = size_t(viewer.slice[int(axis)]), width = size_t(viewer.image.width);
            int mismatches = 0;
            for (size_t row = 0; row < size_t(viewer.image.height); ++row)
                for (size_t col = 0; col < width; ++col) {
                    const double value = qview::ValueAt(v, Voxel(v, axis, s, col, row));
                    const double q = (value - p->dMinThr) / (p->dMaxThr - p->dMinThr) * 255;
                    const size_t entry = valueIndexed            ? std::min(size_t(value - offset), last)
                                         : !(value > p->dMinThr) ? 0
                                         : value >= p->dMaxThr   ? 255
                                                                 : size_t(q);
                    mismatches += viewer.image.pixels[row * width + col] != (table[entry] & 0xFFFFFF);
                }
            EXPECT_EQ(std::tuple(mismatches, width * size_t(viewer.image.height) > 0), std::tuple(0, true))
                << "view " << int(axis);
        }
    }
    { CQorColorDlg end; }
    EXPECT_GE(read, fromNibabel ? 5u : 0u);  // NIfTI-1 and -2, both byte orders, gzip, 8-, 16-bit, float
}

// Each element type is read as itself: its lowest and highest values come back.
TEST(Viewer, ReadsEveryElementTypeAsItself) {
    for (const qorcolor::DataType& type : qorcolor::kDataTypes) {
        Volume v;
        v.datatype = type.code;
        v.dim[0] = 2, v.dim[1] = v.dim[2] = 1;
        std::vector<double> want;
        qorcolor::WithElementType(type.code, [&](auto t) {
            using T = decltype(t);
            const T values[] = {std::numeric_limits<T>::lowest(), std::numeric_limits<T>::max()};
            v.voxels.resize(sizeof values);
            std::memcpy(v.voxels.data(), values, sizeof values);
            want = {double(values[0]), double(values[1])};
        });
        EXPECT_EQ(std::vector<double>({qview::ValueAt(v, 0), qview::ValueAt(v, 1)}), want) << type.name;
    }
}

int g_notifications = 0;
void CountNotification(ColorTabParam*) { ++g_notifications; }

// The public helpers drive the window as a user would and read back what it
// shows; with no window, or no such control, each says so.
TEST(HostHelpers, DriveTheWindowAndReadItBack) {
    { CQorColorDlg end; }
    EXPECT_EQ(std::tuple(QorTypeText(QOR_IDC_MAX_PCT, "5"), QorChooseComboItem(QOR_IDC_SCHEME, 0),
                         QorClickButton(QOR_IDC_LOG_SCALE), QorIsWindowVisible(),
                         QorReadWindowPixels(nullptr, nullptr, nullptr, 0)),
              std::tuple(0, 0, 0, 0, 0));
    std::vector<uint8_t> voxels(64);
    for (size_t i = 0; i < voxels.size(); ++i) voxels[i] = uint8_t(i);
    std::vector<unsigned int> table(256);
    CQorColorDlg::showInit(reinterpret_cast<void***>(voxels.data()), -QOR_UINT8, 4, 4, 4,
                           reinterpret_cast<void*>(&CountNotification), const_cast<char*>("helpers"),
                           table.data());
    EXPECT_EQ(QorTypeText(12345, "5"), 0);

    // A scheme the list lacks changes nothing; one it has notifies and recolours.
    std::vector<unsigned int> before(256), after(256);
    CQorColorDlg::GenerateColorTab(before.data());
    const int notified = g_notifications;
    EXPECT_EQ(QorChooseComboItem(QOR_IDC_SCHEME, 100000), 0);
    EXPECT_EQ(g_notifications, notified);
    EXPECT_EQ(QorChooseComboItem(QOR_IDC_SCHEME, 7), 1);
    CQorColorDlg::GenerateColorTab(after.data());
    EXPECT_GT(g_notifications, notified);
    EXPECT_NE(before, after);

    const int checked = QorIsButtonChecked(QOR_IDC_LOG_SCALE);
    EXPECT_EQ(QorClickButton(QOR_IDC_LOG_SCALE), 1);
    EXPECT_EQ(QorIsButtonChecked(QOR_IDC_LOG_SCALE), 1 - checked);

    // The size first; a buffer one pixel short is left alone.
    QorPumpMessages();
    int width = 0, height = 0;
    const int count = QorReadWindowPixels(&width, &height, nullptr, 0);
    ASSERT_TRUE(count > 0 && count == width * height) << width << "x" << height;
    std::vector<unsigned int> pixels(size_t(count), 0xFF000000u);
    EXPECT_EQ(QorReadWindowPixels(&width, &height, pixels.data(), count - 1), count);
    EXPECT_EQ(std::ranges::count(pixels, 0xFF000000u), count);
    QorReadWindowPixels(&width, &height, pixels.data(), count);
    EXPECT_EQ(std::ranges::count_if(pixels, [](unsigned int p) { return p > 0xFFFFFF; }), 0);
    EXPECT_GT(std::ranges::count(pixels, pixels[0]), 0);
    EXPECT_LT(std::ranges::count(pixels, pixels[0]), count) << "a window of one colour";
    { CQorColorDlg end; }
}

#if !defined(_WIN32)
// Pixels written as a PNG read back as they were: rows top-down, red highest.
TEST(HostHelpers, WritesPngAsGiven) {
    const unsigned int pixels[] = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xABCDEF, 0x000001};
    const std::string path = testing::TempDir() + "host_helpers.png";
    ASSERT_EQ(QorWritePng(path.c_str(), pixels, 3, 2), 1);
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    std::vector<unsigned int> back;
    for (size_t i = 0; i + 2 < rgb.size(); i += 3)
        back.push_back(rgb[i] << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    EXPECT_EQ(std::tuple(image.width, image.height), std::tuple(3u, 2u));
    EXPECT_EQ(back, std::vector<unsigned int>(std::begin(pixels), std::end(pixels)));
    EXPECT_EQ(QorWritePng(path.c_str(), pixels, 0, 2), 0);
    std::remove(path.c_str());
}
#endif

}  // namespace
