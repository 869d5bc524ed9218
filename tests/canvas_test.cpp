// Canvas drawing, built-in schemes, generated ramps and PNG export.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "canvas/color_map_writers.h"
#include "canvas/color_table_reader.h"
#include "canvas/dib.h"
#include "support/table_forms.h"

#ifdef QORCOLOR_HAVE_PNG
#include <png.h>
#else
#include <zlib.h>
#endif

namespace {

using table_forms::Read;
using table_forms::Temp;

constexpr uint32_t kWhite = 0xFFFFFF;

// Coordinates of every pixel of the given colour, as x * 100000 + y.
std::set<long> PixelsOf(const CDIB& dib, uint32_t color = kWhite) {
    std::set<long> out;
    for (int y = 0; y < dib.GetHeight(); ++y)
        for (int x = 0; x < dib.GetWidth(); ++x)
            if (dib.GetPixel(x, y) == color) out.insert(x * 100000L + y);
    return out;
}

long At(int x, int y) { return x * 100000L + y; }

void Make(CDIB& dib, int w, int h) { ASSERT_TRUE(dib.NewCreate(w, h, 24, 0, 1)); }

uint32_t Entry(int scheme, int i) {
    const unsigned char* e = CDIB::GetBuildInColorTable() + (scheme * 256 + i) * 4;
    return static_cast<uint32_t>(e[3]) << 24 | e[2] << 16 | e[1] << 8 | e[0];
}

int Channel(uint32_t c, int k) { return c >> 8 * k & 0xFF; }  // 0 blue, 1 green, 2 red

}  // namespace

// Bottom-up rows of BGR, padded to 4 bytes; a new size replaces the old
// canvas, and a bad one leaves an empty canvas that ignores drawing.
TEST(CanvasCreate, LayoutRecreationAndInvalidSizes) {
    CDIB dib(1);
    Make(dib, 8, 8);
    dib.SetValueAll(255, 255, 255);
    Make(dib, 5, 3);
    EXPECT_EQ(std::tuple(dib.GetWidth(), dib.GetHeight(), dib.GetRowBytes(), PixelsOf(dib, 0).size()),
              std::tuple(5, 3, 16, 15u));
    dib.Line(1, 0, 1, 0, 10, 20, 30);
    dib.Line(4, 2, 4, 2, 40, 50, 60);
    const uint8_t* bits = dib.GetBits();
    EXPECT_EQ(std::tuple(std::vector<int>(bits + 3, bits + 6),
                         std::vector<int>(bits + 32 + 12, bits + 32 + 15), dib.GetPixel(4, 2)),
              std::tuple(std::vector<int>{30, 20, 10}, std::vector<int>{60, 50, 40}, 0x28323Cu));
    const int bad[][3] = {{0, 5, 24},       {5, 0, 24}, {-3, 4, 24},
                          {4, INT_MIN, 24}, {4, 4, 32}, {CDIB::kMaxSide + 1, 1, 24}};
    for (const auto& b : bad)  // braces: evaluated in order
        EXPECT_EQ((std::tuple{dib.NewCreate(b[0], b[1], b[2], 0, 1), dib.GetWidth(), dib.GetHeight()}),
                  (std::tuple{false, 0, 0}));
    dib.SetValueAll(1, 2, 3);
    dib.Line(0, 0, 5, 5, 1, 2, 3);
    dib.DrawButton(0, 0, 3, 3, 1, 2, 3, 1);
    dib.DrawTriButton(2, 2, 5, 1, 2, 3, 1, 0);
    EXPECT_EQ(std::tuple(dib.GetPixel(0, 0), dib.SavePng(Temp("canvas_empty.png").c_str())),
              std::tuple(0u, false));
}

TEST(CanvasLine, EndPointsOnePixelPerMajorStepCloseToTheTrueLineAndClippedAlike) {
    const int ends[][4] = {{2, 3, 17, 9},   {17, 9, 2, 3}, {5, 1, 8, 18}, {15, 15, 0, 0},
                           {3, 12, 18, 12}, {9, 9, 9, 9},  {4, 3, 4, 19}};
    for (const auto& e : ends) {
        CDIB dib;
        Make(dib, 20, 20);
        dib.Line(e[0], e[1], e[2], e[3], 255, 255, 255);
        const int dx = e[2] - e[0], dy = e[3] - e[1];
        const auto px = PixelsOf(dib);
        EXPECT_EQ(px.size(), static_cast<size_t>(std::max(std::abs(dx), std::abs(dy)) + 1));
        EXPECT_TRUE(px.count(At(e[0], e[1])) && px.count(At(e[2], e[3])));
        for (long p : px) {
            const double x = static_cast<double>(p / 100000 - e[0]),
                         y = static_cast<double>(p % 100000 - e[1]);
            // Distance from the true line along the minor axis.
            const double off = std::abs(dx) >= std::abs(dy) ? (dx ? y - x * dy / dx : 0.0) : x - y * dx / dy;
            EXPECT_LE(std::abs(off), 0.5);
        }
    }
    // Clipping keeps the raster of the whole line: each drawn whole on a
    // large canvas and clipped on a small window onto it.
    const int lines[][4] = {{-1000, -503, 1000, 523}, {283, 1015, -243, -985}, {520, 395, -441, -335}};
    const int ox = 1200, oy = 1100;
    for (const auto& l : lines) {
        CDIB big, small;
        Make(big, 2400, 2200);
        Make(small, 40, 30);
        big.Line(l[0] + ox, l[1] + oy, l[2] + ox, l[3] + oy, 255, 255, 255);
        small.Line(l[0], l[1], l[2], l[3], 255, 255, 255);
        std::set<long> expected;
        for (long p : PixelsOf(big)) {
            const long x = p / 100000 - ox, y = p % 100000 - oy;
            if (x >= 0 && x < 40 && y >= 0 && y < 30)
                expected.insert(At(static_cast<int>(x), static_cast<int>(y)));
        }
        EXPECT_GE(expected.size(), 10u);
        EXPECT_EQ(PixelsOf(small), expected);
    }
}

// Lines and rectangles by the pixels they leave on a 12 x 10 canvas:
// rectangles with corners in any order, huge or outside coordinates; then
// the handles.
TEST(CanvasClip, HugeAndOutsideCoordinatesAndHandles) {
    const struct {
        bool rect;
        int c[4];
        size_t pixels;
    } cases[] = {
        {false, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 10},  // the diagonal, checked below
        {false, {INT_MAX, 4, INT_MIN, 4}, 12},
        {false, {7, INT_MIN, 7, INT_MAX}, 10},
        {false, {INT_MAX, INT_MIN, INT_MIN + 1, INT_MIN}, 0},
        {false, {-50, 20, 30, 100}, 0},
        {false, {12, 0, 12, 9}, 0},
        {false, {-1, -1, -1, -1}, 0},
        {true, {2, 1, 6, 4}, 14},
        {true, {6, 4, 2, 1}, 14},
        {true, {2, 4, 6, 1}, 14},
        {true, {-3, 2, 4, INT_MAX}, 8 + 5 - 1},  // only the right and bottom edges are inside
        {true, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 0},
    };
    for (const auto& k : cases) {
        CDIB dib;
        Make(dib, 12, 10);
        if (k.rect)
            dib.DrawRect(k.c[0], k.c[1], k.c[2], k.c[3], 255, 255, 255);
        else
            dib.Line(k.c[0], k.c[1], k.c[2], k.c[3], 255, 255, 255);
        const auto px = PixelsOf(dib);
        EXPECT_EQ(px.size(), k.pixels) << k.c[0] << " " << k.c[1] << " " << k.c[2] << " " << k.c[3];
        if (&k != cases) continue;
        for (int i = 0; i < 10; ++i) EXPECT_TRUE(px.count(At(i, i)));
    }
    // Handles: shapes and highlights are checked on the view, here only
    // coordinates that are degenerate, huge or outside the canvas.
    CDIB dib;
    Make(dib, 21, 21);
    dib.DrawTriButton(10, 10, 0, 0, 128, 0, 1, 0);
    dib.DrawTriButton(10, 10, -5, 0, 128, 0, 0, 0);
    dib.DrawTriButton(10, 40, 20, 0, 128, 0, 0, 0);  // body above a tip above the canvas
    dib.DrawTriButton(INT_MIN, INT_MIN, INT_MAX, 0, 128, 0, 0, 1);
    EXPECT_EQ(PixelsOf(dib, 0).size(), 441u);
    dib.DrawTriButton(10, 30, INT_MAX, 0, 128, 0, 1, 0);  // rows 20..0 are 10..30 below the tip
    EXPECT_TRUE(dib.GetPixel(5, 20) && dib.GetPixel(15, 20) && !dib.GetPixel(4, 20) && !dib.GetPixel(16, 20));
    EXPECT_TRUE(dib.GetPixel(0, 0) && dib.GetPixel(20, 0));
    Make(dib, 20, 20);
    dib.DrawButton(14, 3, 4, 13, 0, 128, 0, 0);  // corners in either order
    EXPECT_EQ(PixelsOf(dib, 0).size(), 400u - 121u);
    dib.DrawButton(INT_MIN, -2, 2, INT_MAX, 0, 128, 0, 1);
    EXPECT_EQ(PixelsOf(dib, 0).size(), 400u - 121u - 60u);  // clipped to columns 0..2
}

TEST(Schemes, NamesAndTables) {
    std::vector<char*> names(CDIB::kBuiltInCount, nullptr);
    CDIB::GetBuildInColorName(names.data(), 0);
    CDIB::GetBuildInColorName(nullptr, 0);
    EXPECT_EQ(std::tuple(std::string(names[4]), std::string(names[9]), std::string(names[10]),
                         std::string(names[27])),
              std::tuple("Jet", "Inverted gray", "Gray", "Cubehelix"));
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), 28u);
    std::set<std::vector<uint32_t>> distinct;
    for (int s = 0; s < CDIB::kBuiltInCount; ++s) {
        std::vector<uint32_t> t(256);
        for (int i = 0; i < 256; ++i) ASSERT_EQ((t[i] = Entry(s, i)) >> 24, 255u) << names[s];
        distinct.insert(t);
    }
    EXPECT_EQ(distinct.size(), 28u);
    for (uint32_t i = 0; i < 256; ++i)  // gray, inverted gray, red
        EXPECT_EQ(std::tuple(Entry(10, i) & kWhite, Entry(9, i) & kWhite, Entry(16, i) & kWhite),
                  std::tuple(i * 0x010101u, (255 - i) * 0x010101u, i << 16));
    // Jet starts dark blue; viridis runs from #440154 to #FDE725.
    EXPECT_EQ(std::tuple(Entry(4, 0) & kWhite, Entry(11, 0) & kWhite, Entry(11, 255) & kWhite),
              std::tuple(0x000080u, 0x440154u, 0xFDE725u));
}

TEST(GeneratedRamp, ContinuousBlueToRedAndBounded) {
    for (int count : {256, 1000, 10240}) {
        std::vector<unsigned int> t(count + 1, 0xDEADBEEF);
        CDIB::GenColorTable(t.data(), count, 0.875f, 0.6666667f);
        EXPECT_EQ(t[count], 0xDEADBEEFu);
        EXPECT_TRUE(Channel(t[0], 0) > Channel(t[0], 2) + 100 &&
                    Channel(t[count - 1], 2) > Channel(t[count - 1], 0) + 100);
        const int bound = static_cast<int>(6 * 255 * 0.6666667 / (count - 1)) + 2;
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(t[i] >> 24, 255u);
            for (int k = 0; k < 3 && i > 0; ++k)
                ASSERT_LE(std::abs(Channel(t[i], k) - Channel(t[i - 1], k)), bound) << count << " at " << i;
        }
    }
    std::vector<unsigned int> t(4, 7);
    CDIB::GenColorTable(t.data(), 0, 0.875f, 0.6666667f);
    CDIB::GenColorTable(t.data(), -5, 0.875f, 0.6666667f);
    CDIB::GenColorTable(nullptr, 256, 0.875f, 0.6666667f);
    EXPECT_EQ(t, std::vector<unsigned int>(4, 7));
    CDIB::GenColorTable(t.data(), 1, NAN, INFINITY);
    EXPECT_EQ(std::tuple(t[0] >> 24, t[1]), std::tuple(255u, 7u));
}

namespace {

CDIB& Pattern(CDIB& dib, int w, int h) {
    dib.NewCreate(w, h, 24, 0, 1);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            dib.Line(x, y, x, y, static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 3),
                     static_cast<uint8_t>(x ^ y));
    return dib;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Rows of R, G, B, top row first, `stride` bytes apart, against the canvas.
void ExpectRows(const uint8_t* rows, size_t stride, const CDIB& dib) {
    for (int y = 0; y < dib.GetHeight(); ++y)
        for (int x = 0; x < dib.GetWidth(); ++x) {
            const uint8_t* p = rows + size_t(dib.GetHeight() - 1 - y) * stride + 3 * size_t(x);
            ASSERT_EQ(static_cast<uint32_t>(p[0] << 16 | p[1] << 8 | p[2]), dib.GetPixel(x, y))
                << x << "," << y;
        }
}

#ifdef QORCOLOR_HAVE_PNG
void ExpectDecodesTo(const std::vector<uint8_t>& png, const CDIB& dib) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size())) << image.message;
    image.format = PNG_FORMAT_RGB;
    ASSERT_EQ(std::tuple(image.width, image.height),
              std::tuple(png_uint_32(dib.GetWidth()), png_uint_32(dib.GetHeight())));
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
    ExpectRows(rgb.data(), 3 * size_t(dib.GetWidth()), dib);
}
#else
// The IDAT chunks inflated; every scanline unfiltered.
void ExpectDecodesTo(const std::vector<uint8_t>& png, const CDIB& dib) {
    std::vector<uint8_t> idat;
    for (size_t at = 8; at + 12 <= png.size();) {
        const size_t size = size_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        ASSERT_LE(at + 12 + size, png.size());
        if (std::memcmp(&png[at + 4], "IDAT", 4) == 0)
            idat.insert(idat.end(), &png[at + 8], &png[at + 8 + size]);
        at += 12 + size;
    }
    const size_t rowBytes = 1 + 3 * size_t(dib.GetWidth());
    std::vector<uint8_t> rows(rowBytes * size_t(dib.GetHeight()) + 1);
    uLongf size = uLongf(rows.size());
    ASSERT_EQ(uncompress(rows.data(), &size, idat.data(), uLong(idat.size())), Z_OK);
    ASSERT_EQ(size, rows.size() - 1);
    for (int y = 0; y < dib.GetHeight(); ++y)
        ASSERT_EQ(rows[size_t(y) * rowBytes], 0) << "filter of row " << y;
    ExpectRows(rows.data() + 1, rowBytes, dib);
}
#endif

}  // namespace

// Saved files decode to the canvas, compressed: smaller than their pixels.
TEST(Png, SavedImagesDecodeToTheCanvas) {
    CDIB small, large;
    Pattern(small, 7, 5);
    Pattern(large, 201, 120);
    const std::string path = Temp("canvas_test_roundtrip.png");
    ASSERT_TRUE(small.SavePng(path.c_str()));
    const std::vector<uint8_t> file = ReadFile(path);
    ASSERT_TRUE(large.SavePng(path.c_str()));
    const std::vector<uint8_t> compressed = ReadFile(path);
    std::remove(path.c_str());
    ASSERT_GT(file.size(), 33u);
    EXPECT_LT(compressed.size(), 201u * 120u * 3u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 24),
              (std::vector<uint8_t>{0x89, 'P', 'N', 'G', 13, 10, 26, 10, 0, 0, 0, 13,
                                    'I',  'H', 'D', 'R', 0,  0,  0,  7,  0, 0, 0, 5}));
    // IEND with its well-known CRC closes the file.
    EXPECT_EQ(std::vector<uint8_t>(file.end() - 12, file.end()),
              (std::vector<uint8_t>{0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82}));
    ExpectDecodesTo(file, small);
    ExpectDecodesTo(compressed, large);
    EXPECT_FALSE(small.SavePng(nullptr) || small.SavePng(Temp("no-such-dir/x.png").c_str()));
}

// ---------------------------------------------------------------- colour table files

// What others read: a .lut of "index r g b" lines, a .txt of "r g b" lines,
// each with an alpha column under a header naming the columns when some
// alpha is not 255 (a grey ramp of one alpha would read as index r g b
// without it), and a header of 0xAARRGGBB words. Every one reads back whole.
TEST(ColorTableFiles, WritersWriteTheFormsOthersRead) {
    std::vector<unsigned char> table(CDIB::GetBuildInColorTable() + 3 * 1024,
                                     CDIB::GetBuildInColorTable() + 4 * 1024),
        grey(1024), back(1024, 0);
    for (size_t i = 0; i < 1024; ++i) grey[i] = static_cast<unsigned char>(i % 4 == 3 ? 128 : i / 4);
    std::string lut = Temp("qc_index.lut"), rgb = Temp("qc_rgb.txt"), header = Temp("qc.h");
    const auto line = [&](int i) {
        return std::to_string(table[4 * i + 2]) + " " + std::to_string(table[4 * i + 1]) + " " +
               std::to_string(table[4 * i]);
    };
    char name[] = "3d hot.lut";
    const auto readsBack = [&](std::string& path, std::vector<unsigned char>& saved, int mode) {  // 0: header
        std::fill(back.begin(), back.end(), 0);
        unsigned char* buffer = back.data();
        return (mode ? CDIB::SaveColorTableToLutTxtFile(path.data(), saved.data(), 256, mode)
                     : CDIB::SaveColorTableToHeaderFile(path.data(), name, saved.data(), 256)) == 1 &&
               CDIB::OpenColorTableFromFile(path.data(), buffer) == back.data() && back == saved;
    };
    EXPECT_TRUE(readsBack(lut, table, 4) && readsBack(rgb, table, 3));
    EXPECT_EQ(
        std::tuple(Read(lut).substr(0, Read(lut).find("\n2 ")), Read(rgb).substr(0, Read(rgb).find('\n'))),
        std::tuple("0 " + line(0) + "\n1 " + line(1), line(0)));
    // Scheme 3 with a different alpha in every entry, so that a lost alpha byte shows.
    for (size_t i = 0; i < 256; ++i) table[4 * i + 3] = static_cast<unsigned char>(255 - i);
    for (auto* saved : {&table, &grey})
        for (int mode : {3, 4}) EXPECT_TRUE(readsBack(mode == 4 ? lut : rgb, *saved, mode)) << mode;
    EXPECT_EQ(Read(lut).substr(0, Read(lut).find("\n1 ")), "index r g b a\n0 0 0 0 128");
    EXPECT_TRUE(readsBack(header, table, 0));
    // The name, made an identifier; the comment that keeps it is checked through the window.
    EXPECT_NE(Read(header).find("static const unsigned int _3d_hot_lut[256] = {"), std::string::npos);
    unsigned char* none = nullptr;  // refused files are read through the window's right click
    EXPECT_EQ(
        std::tuple(CDIB::OpenColorTableFromFile(nullptr, none),
                   CDIB::SaveColorTableToLutTxtFile(nullptr, table.data(), 256, 3),
                   CDIB::SaveColorTableToLutTxtFile(rgb.data(), table.data(), 0, 3),
                   CDIB::SaveColorTableToHeaderFile(Temp("no-such-dir/x.h").data(), name, table.data(), 256)),
        std::tuple(nullptr, 0, 0, 0));
}

// ---------------------------------------------------------------- colour maps of other tools

namespace {

using Rgba = std::array<int, 4>;

// Entry i of a 256-entry B, G, R, A table as R, G, B, A.
// The file as it is, carriage returns kept.
std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Rgba At(const std::vector<unsigned char>& t, int i) {
    return {t[4 * i + 2], t[4 * i + 1], t[4 * i], t[4 * i + 3]};
}

struct Form {
    const char* name;
    std::string text;
    std::vector<std::pair<int, Rgba>> expected;  // entry, then R, G, B, A
};

}  // namespace

// Each form from a hand-written file; point lists are resampled linearly over
// their own x range (the JSON preset's from 0 to 10, its Points into alpha).
TEST(ColorMapForms, EveryFormReadsToItsEntries) {
    const std::vector<Form> forms = {
        {"json array",
         R"([ {"Name": "t\"x", "RGBPoints": [0, 0, 0, 0, 10, 1, 0.5, 0.0e0],
                             "Points": [0, 0, 0.5, 0, 10, 1, 0.5, 0], "Flag": true, "N": null} ])",
         {{0, {0, 0, 0, 0}}, {51, {51, 26, 0, 51}}, {255, {255, 128, 0, 255}}}},
        {"json object",
         R"({"RGBPoints": [1, 0, 0, 1, -1, 1, 0, 0, 0, 0, 1, 0]})",
         {{0, {255, 0, 0, 255}}, {127, {1, 254, 0, 255}}, {255, {0, 0, 255, 255}}}},
        {"xml",
         "<?xml version=\"1.0\"?>\n<ColorMap name='x' space=\"RGB\">\n<Point x=\"0\" o=\"1\" r=\"0\" g=\"0\" "
         "b=\"1\"/>\n"
         "<Point x=\"0.5\" o=\"0.2\" r=\"1\" g=\"1\" b=\"1\"/>\n  <Point x=\"1\" r=\"1\" g=\"0\" b=\"0\" "
         "/>\n</ColorMap>\n",
         {{0, {0, 0, 255, 255}}, {51, {102, 102, 255, 173}}, {255, {255, 0, 0, 255}}}},
        {"clut",
         "[INT]\r\nnumnodes=2\r\n[BYT]\r\nnodeintensity0=55\r\nnodeintensity1=155\r\n[RGBA255]\r\n"
         "nodergba0=255|0|0|0\r\nnodergba1=0|0|255|200\r\n",
         {{0, {255, 0, 0, 0}}, {105, {128, 0, 128, 100}}, {255, {0, 0, 255, 200}}}},
        {"cmap",
         "0 0 0\n0.5 1 0\n1 0 1\n",
         {{0, {0, 0, 0, 255}}, {51, {51, 102, 0, 255}}, {255, {255, 0, 255, 255}}}},
        {"tagged",
         "* s=byte\tn=3\nS\t0\t10\t20\t30\nS\t255\t1\t2\t3\nS\t7\t70\t80\t90\n",
         {{0, {10, 20, 30, 255}}, {7, {70, 80, 90, 255}}, {8, {0, 0, 0, 255}}, {255, {1, 2, 3, 255}}}},
        {"labels",
         "# index name r g b a\n0 Clear 0 0 0 0\n1 Left-Cortex 245 245 245 255\n300 Far 1 1 1 1\n2 X 10 20 "
         "30 40\n",
         {{0, {0, 0, 0, 0}}, {1, {245, 245, 245, 255}}, {2, {10, 20, 30, 40}}, {3, {0, 0, 0, 255}}}},
    };
    for (const Form& form : forms) {
        std::vector<unsigned char> table(1024, 0xA5);
        std::string reason;
        ASSERT_TRUE(ReadColorTable(form.text, table.data(), &reason)) << form.name << ": " << reason;
        for (const auto& [i, rgba] : form.expected) EXPECT_EQ(At(table, i), rgba) << form.name << " " << i;
    }
}

// Malformed files of each form are refused with a reason, the table untouched.
TEST(ColorMapForms, MalformedFilesAreRefusedWithAReason) {
    const std::string deep = std::string(200, '[') + std::string(200, ']');
    const std::pair<const char*, std::string> bad[] = {
        {"json trailing comma", R"([{"RGBPoints": [0, 0, 0, 0, 1, 1, 1, 1],}])"},
        {"json leading zero", R"({"RGBPoints": [0, 0, 0, 0, 1, 1, 1, 01]})"},
        {"json open string", R"({"RGBPoints": [0, 0, 0, 0, 1, 1, 1, 1], "Name": "x)"},
        {"json three values", R"({"RGBPoints": [0, 0, 0]})"},
        {"json points of three", R"({"RGBPoints": [0, 0, 0, 0], "Points": [0, 1, 0.5]})"},
        {"json no points", R"({"Name": "x"})"},
        {"json too deep", deep},
        {"xml no blue", "<ColorMap><Point x=\"0\" r=\"0\" g=\"0\"/></ColorMap>"},
        {"xml unterminated", "<ColorMap><Point x=\"0\" r=\"0\" g=\"0\" b=\"0\"/>"},
        {"xml bad number", "<ColorMap><Point x=\"0\" r=\"0\" g=\"0\" b=\"1x\"/></ColorMap>"},
        {"clut missing node", "[INT]\nnumnodes=2\n[BYT]\nnodeintensity0=0\n[RGBA255]\nnodergba0=1|2|3|4\n"},
        {"clut byte over 255",
         "[INT]\nnumnodes=1\n[BYT]\nnodeintensity0=0\n[RGBA255]\nnodergba0=1|2|300|4\n"},
        {"cmap ragged", "0.5 0.5\n0.1 0.2 0.3\n"},
        {"tagged no blue", "* s=byte\nS\t0\t10\t20\n"},
        {"labels byte over 255", "0 Clear 0 0 0 0\n1 Bad 256 0 0 0\n"},
    };
    for (const auto& [name, text] : bad) {
        std::vector<unsigned char> table(1024, 0xA5);
        std::string reason;
        EXPECT_FALSE(ReadColorTable(text, table.data(), &reason)) << name;
        EXPECT_TRUE(reason.starts_with("not a colour table: ")) << name << ": " << reason;
        EXPECT_EQ(table, std::vector<unsigned char>(1024, 0xA5)) << name;
    }
}

// Every form written reads back to the 256 colours, and the alpha curve
// where the form keeps one; a table of 1024 is resampled linearly to 256.
TEST(ColorMapForms, EveryFormWrittenReadsBack) {
    std::vector<unsigned int> table(256);
    std::vector<float> alpha(256);
    std::vector<int> knots(256, 0);
    for (int i = 0; i < 256; ++i) {
        table[i] =
            0x11000000u | unsigned(i * 37 % 256) << 16 | unsigned(255 - i) << 8 | unsigned(i * 11 % 256);
        alpha[i] = i <= 100 ? 0.2f + 0.8f * i / 100 : 1.0f - (i - 100) / 155.0f;
    }
    knots[0] = knots[100] = knots[255] = 1;
    ColorMapExport map{table.data(), 256, alpha.data(), knots.data(), -50, 1250, "a \"quoted\" name"};
    for (int format : {kBinary768, kJsonPreset, kClut, kCmap, kIndexText}) {
        const std::string path = Temp("qc_map" + std::to_string(format));
        std::string error;
        std::vector<unsigned char> back(1024, 0);
        table_forms::Write(path, std::string(5000, 'x'));  // replaced whole
        ASSERT_TRUE(WriteColorMap(path.c_str(), format, map, error)) << format << ": " << error;
        ASSERT_TRUE(ReadColorTable(Bytes(path), back.data(), &error)) << format << ": " << error;
        const bool keepsAlpha = format != kBinary768 && format != kCmap;
        for (int i = 0; i < 256; ++i) {
            const int a = keepsAlpha ? static_cast<int>(std::lround(255 * alpha[i])) : 255;
            const Rgba want{int(table[i] >> 16 & 0xFF), int(table[i] >> 8 & 0xFF), int(table[i] & 0xFF), a};
            ASSERT_EQ(At(back, i), want) << format << " " << i;
        }
    }
#if !defined(_WIN32)
    EXPECT_EQ(std::system(("python3 -m json.tool " + Temp("qc_map1") + " > /dev/null").c_str()), 0);
#endif
    // The preset's points in data units, between the thresholds; the three knots alone as Points.
    const std::string json = Read(Temp("qc_map1"));
    size_t points = 0;
    for (size_t at = json.find(", 0.5, 0.0"); at != std::string::npos; at = json.find(", 0.5, 0.0", at + 1))
        ++points;
    EXPECT_EQ(std::tuple(points, json.find("\"RGBPoints\": [\n      -50, ") != std::string::npos,
                         json.find("\n      1250, ") != std::string::npos,
                         json.find("\"Name\": \"a \\\"quoted\\\" name\"") != std::string::npos,
                         json.find("\"ColorSpace\": \"RGB\"") != std::string::npos,
                         json.find("\"NanColor\": [0, 0, 0]") != std::string::npos),
              std::tuple(size_t{3}, true, true, true, true, true));

    // Red steps every fourth entry, green every entry: a nearest pick or a
    // slice of the first 256 shows in one or the other.
    const auto red = [](int k) { return k / 4; };
    const auto green = [](int k) { return k % 4 * 60; };
    std::vector<unsigned int> ramp(1024);
    for (int k = 0; k < 1024; ++k) ramp[k] = 0xFF000000u | unsigned(red(k)) << 16 | unsigned(green(k)) << 8;
    const ColorMapExport large{ramp.data(), 1024, nullptr, nullptr, 0, 1, "ramp"};
    std::string error;
    std::vector<unsigned char> back(1024, 0);
    ASSERT_TRUE(WriteColorMap(Temp("qc_ramp").c_str(), kIndexText, large, error));
    ASSERT_TRUE(ReadColorTable(Read(Temp("qc_ramp")), back.data(), &error));
    for (int i = 0; i < 256; ++i) {
        const double at = i * 1023.0 / 255;  // entry i of 256 between source entries lo and lo + 1
        const int lo = static_cast<int>(at), hi = std::min(lo + 1, 1023);
        const auto mix = [&](auto f) {
            return static_cast<int>(std::lround(f(lo) + (f(hi) - f(lo)) * (at - lo)));
        };
        ASSERT_EQ(std::tuple(At(back, i)[0], At(back, i)[1]), std::tuple(mix(red), mix(green))) << i;
    }
}

// A file that cannot be written leaves nothing: neither the target nor the
// temporary beside it; an unknown format writes nothing either.
TEST(ColorMapForms, FailedWritesLeaveNoFile) {
    const unsigned int table[2] = {0xFF000000u, 0xFFFFFFFFu};
    const ColorMapExport map{table, 2, nullptr, nullptr, 0, 1, "two"};
    const std::string folder = Temp("qc_folder.json"), missing = Temp("qc-no-such-dir/x.json");
    std::filesystem::create_directories(folder);
    std::string error;
    for (const auto& [path, format] : {std::pair{folder, int{kJsonPreset}}, std::pair{missing, int{kCmap}},
                                       std::pair{Temp("qc_bad_format"), int{kColorMapFormats}}}) {
        error.clear();
        EXPECT_FALSE(WriteColorMap(path.c_str(), format, map, error)) << path;
        EXPECT_FALSE(error.empty()) << path;
        EXPECT_FALSE(std::filesystem::exists(path + ".tmp0")) << path;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_FALSE(std::filesystem::exists(missing) || std::filesystem::exists(Temp("qc_bad_format")));
}
