// The colour table engine: data colour tables, the alpha-weighted ramp,
// button 1, the alpha knot edits and the table files. Tables are checked
// against a slow, literal reading of the interpolation.
#include <gtest/gtest.h>
#include <qorcolor/extensions.h>
#include <qorcolor/headless.h>
#include <qorcolor/qorcolor.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

#include "colortable/kernels/fill_color_tab.h"
#include "dialog/color_dlg.h"
#include "support/shown_dialog.h"
#include "support/table_forms.h"

namespace {

using table_forms::Read;
using table_forms::Temp;
using table_forms::Write;
using Table = std::vector<unsigned int>;
constexpr unsigned int kCanary = 0xDEADBEEFu;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// ---------------------------------------------------------------- reference

unsigned int ByteOf(unsigned int entry, int byte) { return (entry >> (8 * byte)) & 0xFFu; }

// The entry p steps past the lower index: each byte mixed from its two
// neighbours and truncated.
unsigned int RefInterpolate(const ColorTabParam& q, double p) {
    const int k = static_cast<int>(std::trunc(p));
    const unsigned int a = q.pColorTab[q.nLowIndex + k];
    const unsigned int b = k >= q.nHighIndex - q.nLowIndex ? a : q.pColorTab[q.nLowIndex + k + 1];
    unsigned int mixed = 0;
    for (int byte = 0; byte < 4; ++byte)
        mixed |=
            static_cast<unsigned int>(std::trunc(ByteOf(a, byte) * (1 - (p - k)) + ByteOf(b, byte) * (p - k)))
            << (8 * byte);
    return mixed;
}

struct Shape {
    int n, offset;
};

std::optional<Shape> RefShape(int dataType) {
    for (const auto& [type, shape] :
         {std::pair{2, Shape{256, 0}}, {256, {256, -128}}, {4, {65535, -32768}}, {512, {65535, 0}}})
        if (type == dataType) return shape;
    return std::nullopt;
}

Table RefValueIndexed(const ColorTabParam& q, Shape s) {
    const int lo = static_cast<int>(std::trunc(q.dMinThr - s.offset));
    const int hi = static_cast<int>(std::trunc(q.dMaxThr - s.offset));
    const double step = hi == lo ? kInf : (q.nHighIndex - q.nLowIndex) / static_cast<double>(hi - lo);
    Table t(s.n);
    for (int i = 0; i < s.n; ++i)
        t[i] = i <= lo ? q.pColorTab[q.nLowIndex]
                       : (i < hi ? RefInterpolate(q, (i - lo) * step) : q.pColorTab[q.nHighIndex]);
    return t;
}

Table RefRamp(const ColorTabParam& q, int count) {
    const double step = (q.nHighIndex - q.nLowIndex) / static_cast<double>(count - 1);
    Table t(count);
    for (int i = 0; i < count; ++i) t[i] = RefInterpolate(q, i * step);
    return t;
}

// Index of the first difference over want's entries, -1 when equal.
long FirstMismatch(const Table& got, const Table& want) {
    for (size_t i = 0; i < want.size(); ++i)
        if (got[i] != want[i]) return static_cast<long>(i);
    return -1;
}

Table GrayRamp(int entries) {
    Table t(entries);
    for (int i = 0; i < entries; ++i) t[i] = 0xFF000000u | (i & 0xFF) * 0x010101u;
    return t;
}

Table RandomTable(std::mt19937& rng, int entries) {
    Table t(entries);
    for (auto& e : t) e = static_cast<unsigned int>(rng());
    return t;
}

ColorTabParam Param(const Table& src, int low, int high, double minThr, double maxThr) {
    unsigned int* table = const_cast<unsigned int*>(src.data());
    return {table, static_cast<int>(src.size()) - 1, 9.0, -9.0, maxThr, minThr, high, low};
}

struct RandomState {
    Table source;
    std::vector<float> curve;
    int low = 0, high = 0;
    double minThr = 0, maxThr = 0;
};

RandomState MakeRandomState(std::mt19937& rng) {
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int maxIndex = uniform(0, 1) ? 255 : uniform(255, 10239);
    RandomState s{RandomTable(rng, maxIndex + 1), std::vector<float>(maxIndex + 1)};
    s.low = uniform(0, maxIndex), s.high = uniform(0, maxIndex);
    if (uniform(0, 7) == 0) s.high = s.low;
    for (auto& a : s.curve) a = std::uniform_real_distribution<float>(0.0f, 1.0f)(rng);
    std::uniform_real_distribution<double> thr(-40000.0, 70000.0);
    s.minThr = uniform(0, 3) ? thr(rng) : uniform(-300, 300) + 0.5;
    s.maxThr = uniform(0, 7) ? thr(rng) : s.minThr + 0.25;  // at times the same truncation
    return s;
}

class ColorTable : public ::testing::Test {
protected:
    // Builds into a table one entry longer than the result should be.
    Table Build(int dataType, int entries, int result) {
        dlg.m_nDataType = dataType;
        Table out(entries + 1, kCanary);
        EXPECT_EQ(dlg.BuildDataColorTab(out.data()), result);
        EXPECT_EQ(out.back(), kCanary) << "written past " << entries << " entries";
        return out;
    }
    void SetCurve(const std::vector<float>& curve) {
        delete[] dlg.m_pAlpha;
        dlg.m_pAlpha = new float[curve.size()];
        std::copy(curve.begin(), curve.end(), dlg.m_pAlpha);
        dlg.m_nMaxIndex = static_cast<int>(curve.size()) - 1;
    }
    // A ramp of `count`, with the curve's alpha or the table's.
    Table Sample(int count, bool curve = true) {
        Table out(count + 1, kCanary);
        double a = 0, b = 0, c = 0, d = 0;
        EXPECT_EQ(curve ? dlg.SampleColorTabAlpha(out.data(), count, a, b, c, d)
                        : dlg.BuildDataColorTabEx(out.data(), count, a, b, c, d),
                  curve ? 1 : 0);  // a ramp type: no value-indexed table
        EXPECT_EQ(out.back(), kCanary);
        return out;
    }
    CColorDlgBase dlg;
};

// A few entries worked out by hand check the reference itself; then every
// table matches it on random states.
TEST_F(ColorTable, AllTablesMatchTheLiteralReadingOnRandomStates) {
    const Table gray = GrayRamp(256);
    dlg.m_param = Param(gray, 0, 255, 0.0, 255.0);  // unsigned bytes: the identity
    EXPECT_EQ(FirstMismatch(Build(2, 256, 1), gray), -1);
    dlg.m_param = Param(gray, 3, 250, -1000.0, 1000.0);  // signed shorts: lo 31768, hi 33768
    const Table t = Build(4, 65535, 1);
    EXPECT_EQ(FirstMismatch(t, Table(31769, gray[3])), -1);
    EXPECT_EQ(ByteOf(t[33767], 0), 249u);  // 1999 * 247 / 2000 = 246.88 entries past index 3
    EXPECT_EQ(std::count(t.begin() + 33768, t.end() - 1, gray[250]), 65535 - 33768);
    std::mt19937 rng(4711);
    for (int round = 0; round < 40; ++round) {
        const RandomState s = MakeRandomState(rng);
        dlg.m_param = Param(s.source, s.low, s.high, s.minThr, s.maxThr);
        for (int dataType : {2, 256, 4, 512, 8, 16, 64, 768}) {
            const std::optional<Shape> shape = RefShape(dataType);
            const Table want = shape ? RefValueIndexed(dlg.m_param, *shape) : RefRamp(dlg.m_param, 256);
            ASSERT_EQ(FirstMismatch(Build(dataType, static_cast<int>(want.size()), shape ? 1 : 0), want), -1)
                << "round " << round << " type " << dataType;
        }
        const int count = std::uniform_int_distribution<int>(2, 3000)(rng);
        const Table ramp = Sample(count, false);  // the last type was a ramp
        ASSERT_EQ(FirstMismatch(ramp, RefRamp(dlg.m_param, count)), -1) << "round " << round;
        SetCurve(s.curve);  // the curve weighs the alpha bytes only
        const Table sampled = Sample(count);
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(sampled[i] & 0xFFFFFFu, ramp[i] & 0xFFFFFFu) << "round " << round << " entry " << i;
    }
}

// Every processor gets the same entries, whichever instructions it has.
TEST(ColorTableKernels, BaselineFormsMatchTheLiteralReading) {
    using namespace qorcolor::colortable;
    std::mt19937 rng(99);
    for (int round = 0; round < 12; ++round) {
        const RandomState s = MakeRandomState(rng);
        const ColorTabParam q = Param(s.source, s.low, s.high, s.minThr, s.maxThr);
        Table t(65535);
        FillValueIndexed(MakeStretch(q), t.data(), {65535, -32768.0}, s.minThr, s.maxThr,
                         InstructionSet::Baseline);
        ASSERT_EQ(FirstMismatch(t, RefValueIndexed(q, {65535, -32768})), -1) << round;
    }
    std::uniform_real_distribution<double> fraction(-0.999999, 0.999999);
    for (int i = 0; i < 100000; ++i) {
        const Neighbours n{static_cast<unsigned int>(rng()), static_cast<unsigned int>(rng()), fraction(rng)};
        ASSERT_EQ(Mix(n), MixScalar(n)) << n.a << " " << n.b << " " << n.f;
    }
}

// ---------------------------------------------------------------- bad input

TEST_F(ColorTable, OutOfRangeIndicesNonFiniteThresholdsNoTableSingleEntriesAndBrokenCurvesStayDefined) {
    // Reversed indices: inside the stretch every byte is at most 0x7F, outside
    // it 0xFF, so that a read outside the stretch shows in the result.
    Table src(256, 0xFFFFFFFFu);
    for (int i = 50; i <= 200; ++i) src[i] = (i % 0x80) * 0x01010101u;
    dlg.m_param = Param(src, 200, 50, 1000.0, 60000.0);
    for (const Table& t : {Build(512, 65535, 1), Build(8, 256, 0), Sample(1000), Sample(1)})
        for (size_t i = 0; i + 1 < t.size(); ++i) ASSERT_EQ(t[i] & 0x80808080u, 0u) << i;

    const Table gray = GrayRamp(256);  // exact size: a read past it is caught
    dlg.m_param = Param(gray, -7, 999, 10.0, 200.0);
    const ColorTabParam inside = Param(gray, 0, 255, 10.0, 200.0);
    EXPECT_EQ(FirstMismatch(Build(2, 256, 1), RefValueIndexed(inside, {256, 0})), -1);
    EXPECT_EQ(FirstMismatch(Sample(300), RefRamp(inside, 300)), -1);  // flat curve

    dlg.m_param = Param(gray, 100, 110, kNaN, kNaN);  // NaN counts as the lowest value
    EXPECT_EQ(FirstMismatch(Build(4, 65535, 1), Table(65535, gray[110])), -1);
    dlg.m_param = Param(gray, 100, 110, -kInf, kInf);
    const Table t = Build(512, 65535, 1);
    for (int i = 0; i < 65535; ++i) ASSERT_TRUE(ByteOf(t[i], 0) >= 100 && ByteOf(t[i], 0) <= 110) << i;
    for (double thr : {kNaN, -kInf, 1e300}) {  // ramps do not look at the thresholds
        dlg.m_param = Param(gray, 20, 230, thr, -thr);
        EXPECT_EQ(FirstMismatch(Build(16, 256, 0), RefRamp(dlg.m_param, 256)), -1);
    }

    dlg.m_param = ColorTabParam{nullptr, 255, 0, 0, 0, 0, 255, 0};
    EXPECT_EQ(FirstMismatch(Build(512, 65535, 1), Table(65535, 0u)), -1);

    // One entry is the lower colour, its alpha weighted by the curve; counts
    // below one are refused with nothing written or reported; a broken curve
    // gives alpha 0.
    std::mt19937 rng(7);
    const Table random = RandomTable(rng, 256);
    dlg.m_param = Param(random, 200, 40, 1.0, 2.0);
    dlg.m_nDataType = 768;
    Table two(2, kCanary);
    double a = 1, b = 2, c = 3, d = 4;
    for (int refused : {0, -1})  // braces: evaluated in order
        EXPECT_EQ((std::tuple{dlg.SampleColorTabAlpha(two.data(), refused, a, b, c, d), two, a, b, c, d}),
                  (std::tuple{0, Table(2, kCanary), 1.0, 2.0, 3.0, 4.0}));
    EXPECT_EQ(Sample(1, false), (Table{random[200], kCanary}));
    SetCurve(std::vector<float>(256, 0.5f));
    EXPECT_EQ(Sample(1)[0],
              (random[200] & 0xFFFFFFu) | static_cast<unsigned int>(0.5 * ByteOf(random[200], 3)) << 24);
    SetCurve(std::vector<float>(256, std::numeric_limits<float>::quiet_NaN()));
    const Table sampled = Sample(500), colour = RefRamp(dlg.m_param, 500);
    for (int i = 0; i < 500; ++i) ASSERT_EQ(sampled[i], colour[i] & 0xFFFFFFu) << i;
}

TEST_F(ColorTable, ButtonOneGeneratesTheOwnTableAndRefusesCountsOutOfRange) {
    for (int n : {2048, 300}) {  // a smaller table replaces a larger one
        dlg.m_nActiveKnot = 2000, dlg.m_nColorCount = n;
        dlg.OnBnClickedOk();
    }
    const unsigned int* own = dlg.m_pOwnTab;
    const float* alpha = dlg.m_pAlpha;
    EXPECT_EQ(std::tuple(dlg.m_nMaxIndex, dlg.m_nLowIndex, dlg.m_nHighIndex, dlg.m_nActiveKnot,
                         dlg.m_param.nMaxIndex, dlg.m_pColorTab, dlg.m_param.pColorTab),
              std::tuple(299, 0, 299, -1, 299, own, own));
    const int* knots = dlg.m_pAlphaKnot;  // a flat curve with its two end knots
    EXPECT_EQ(std::tuple(std::count(dlg.m_pAlpha, dlg.m_pAlpha + 300, 1.0f),
                         std::count(knots, knots + 300, 1), knots[0], knots[299]),
              std::tuple(300, 2, 1, 1));
    Table ramp(300);  // the hue ramp, reversed: red first
    CDIB::GenColorTable(ramp.data(), 300, 0.875f, 0.6666667f);
    EXPECT_EQ(Table(dlg.m_pOwnTab, dlg.m_pOwnTab + 300), Table(ramp.rbegin(), ramp.rend()));

    for (int bad : {255, 10241, -5, std::numeric_limits<int>::max()}) {
        dlg.m_nColorCount = bad;
        dlg.OnBnClickedOk();
        EXPECT_TRUE(dlg.m_nColorCount == 300 && dlg.m_pOwnTab == own && dlg.m_pAlpha == alpha &&
                    dlg.m_nMaxIndex == 299)
            << bad;  // the last accepted count and table
    }
}

// ---------------------------------------------------------------- with the window

// Right clicks read a table, double clicks outside Edit Alpha write one (the
// file dialogs answered by recorded paths), inside it they edit alpha knots.
class ColorTableWindow : public ShownDialog {
protected:
    void RightClick() { driver::RightDown(hDlg, 3, 3); }
    void DoubleClick() { driver::DoubleClick(hDlg, 3, 3); }
    // The canvas point (x, y) handed to the knot editor, as a double click in Edit Alpha hands it.
    void EditKnotAt(int x, int y) {
        const POINT p = Client(CPoint(x, y));
        d->EditAlphaKnot(CPoint(p.x, p.y));
    }
    CColorDlgBase*& d = dlg;
};

TEST_F(ColorTableWindow, EntryPointsReportTheLayoutAndTheShapes) {
    table.assign(65536, kCanary);
    ShowRamp();  // signed shorts: a value-indexed table
    const ColorTabParam& q = d->m_param;
    int isVolume = 7, count = 10;
    double minThr, maxThr, dataMin, dataMax;
    const auto reported = [&] { return std::tuple(minThr, maxThr, dataMin, dataMax); };
    const auto shown = [&] { return std::tuple(q.dMinThr, q.dMaxThr, q.dDataMin, q.dDataMax); };
    EXPECT_EQ(
        (std::tuple{CQorColorDlg::UpdateDataColorTabEx(isVolume, count, minThr, maxThr, dataMin, dataMax),
                    isVolume, count, reported(), table[65535]}),
        (std::tuple{1, 0, 65535, shown(), kCanary}));
    EXPECT_EQ(FirstMismatch(table, RefValueIndexed(q, {65535, -32768})), -1);

    float row[2] = {0.5f, 3.0f};
    float* rows[1] = {row};
    float** slices[1] = {rows};
    Table plain(256);
    CQorColorDlg::showInit(reinterpret_cast<void***>(slices), 16, 2, 1, 1, nullptr, const_cast<char*>("f"),
                           table.data());
    count = -3;  // a ramp of 256 for a count below one, of any count asked for
    EXPECT_EQ(CQorColorDlg::GenerateColorTabEx(plain.data(), count, minThr, maxThr, dataMin, dataMax), 0);
    EXPECT_EQ(std::tuple(count, CQorColorDlg::GenerateColorTab(table.data())), std::tuple(256, 0));
    EXPECT_EQ(FirstMismatch(table, plain), -1);
    count = 1024;
    table.assign(table.size(), kCanary);
    EXPECT_EQ((std::tuple{CQorColorDlg::GetColorTabEx(isVolume, count, minThr, maxThr, dataMin, dataMax),
                          FirstMismatch(table, RefRamp(q, 1024)), isVolume, table[1024]}),
              (std::tuple{1, -1, 1, kCanary}));

    // No host table now: nothing is written through it, but the four doubles
    // are still reported, except by GetColorTabEx with no count at all.
    CQorColorDlg::show();
    const std::function<int()> calls[] = {
        [&] { return CQorColorDlg::GetColorTabEx(isVolume, count, minThr, maxThr, dataMin, dataMax); },
        [&] { return CQorColorDlg::UpdateDataColorTabEx(isVolume, count, minThr, maxThr, dataMin, dataMax); },
        [&] { return CQorColorDlg::GenerateColorTabEx(nullptr, count, minThr, maxThr, dataMin, dataMax); }};
    for (const auto& call : calls) {
        minThr = maxThr = dataMin = dataMax = -1, count = 5;
        EXPECT_EQ((std::tuple{call(), reported(), count}),
                  (std::tuple{CColorDlgBase::kNoHostTable, shown(), 5}));
    }
    minThr = -1, count = 0;
    EXPECT_EQ((std::tuple{calls[0](), isVolume, minThr}), (std::tuple{0, 0, -1.0}));
}

// An inner knot is added and removed again; end knots stay and only move;
// clicks outside the curve's area do nothing.
TEST_F(ColorTableWindow, AlphaKnotDoubleClicksAddRemoveAndMoveKnots) {
    d->m_bEditAlpha = 1;
    d->UpdateView(0);
    const int left = d->m_nAlphaLeft, right = d->m_nAlphaRight, bottom = d->m_nAlphaBottom,
              top = d->m_nAlphaTop;
    ASSERT_TRUE(right - left > 100 && top - bottom > 40);
    const auto column = [&](int k) { return left + (right - left) * k / 255; };
    const auto row = [&](double alpha) { return bottom + static_cast<int>((top - bottom) * alpha); };
    const auto knots = [&] { return std::count(d->m_pAlphaKnot, d->m_pAlphaKnot + 256, 1); };
    const int x = column(128), y = row(0.25), k = (x - left) * 255 / (right - left);
    d->m_param.dDataMax = -1.0;  // a refresh puts the real range back
    EditKnotAt(x, y);
    EXPECT_EQ(std::tuple(d->m_pAlphaKnot[k], d->m_nActiveKnot, d->m_pAlpha[k]),
              std::tuple(1, k, float(y - bottom) / float(top - bottom)));
    // Both sides follow; the refresh ran.
    EXPECT_TRUE(d->m_pAlpha[k / 2] < 1.0f && d->m_pAlpha[(k + 255) / 2] < 1.0f &&
                d->m_param.dDataMax != -1.0);

    EditKnotAt(x + 2, y - 3);  // within reach of the knot: removes it
    EXPECT_EQ(std::tuple(d->m_nActiveKnot, knots(), std::count(d->m_pAlpha, d->m_pAlpha + 256, 1.0f)),
              std::tuple(0, 2, 256));

    for (int end : {0, 255}) {
        d->m_param.dDataMax = -1.0;
        const CPoint p = d->m_pKnotPos[end];
        EditKnotAt(p.x, p.y - 1);
        EXPECT_EQ(std::tuple(d->m_nActiveKnot, knots(), d->m_param.dDataMax), std::tuple(end, 2, -1.0));
    }
    d->m_nActiveKnot = -1;
    EditKnotAt(left - 1, row(0.5));
    EditKnotAt(column(100), top + 1);
    EditKnotAt(column(100), bottom - 1);
    EXPECT_EQ(std::tuple(d->m_nActiveKnot, knots()), std::tuple(-1, 2));
    EditKnotAt(right, row(0.3));  // on the last column, away from its knot: moves it
    EXPECT_EQ(std::tuple(d->m_nActiveKnot, knots(), d->m_pAlpha[255] < 0.35f), std::tuple(255, 2, true));
}

// ---------------------------------------------------------------- table files

// Every readable form loads and names the table after its file; a refused
// file keeps the active table.
TEST_F(ColorTableWindow, RightClickLoadsEveryFormAndRefusalsKeepTheActiveTable) {
    const std::string path = Temp("form.lut");
    for (const table_forms::File& file : table_forms::Readable()) {
        Write(path, file.bytes);
        providers.fileAnswers.push_back(path);
        d->m_nLowIndex = 20, d->m_nHighIndex = 30;
        RightClick();
        ASSERT_EQ(d->m_pColorTab, reinterpret_cast<unsigned int*>(d->m_pFileTab)) << file.name;
        EXPECT_EQ(std::tuple(std::string(d->m_pszTabName), d->m_nLowIndex, d->m_nHighIndex, d->m_nMaxIndex,
                             std::vector<unsigned char>(d->m_pFileTab, d->m_pFileTab + 1024)),
                  std::tuple("form.lut", 0, 255, 255, table_forms::Expected(file.entries, file.alpha)))
            << file.name;
    }
    EXPECT_EQ(providers.fileRequests[0],
              driver::FileRequest(true, "Read a color table from a lut file.",
                                  "Look up color table(*.lut)|*.lut|all files(*.*)|*.*||", OFN_HIDEREADONLY));
    const std::vector<unsigned char> loaded(d->m_pFileTab, d->m_pFileTab + 1024);
    for (const table_forms::File& file : table_forms::Refused()) {
        Write(path, file.bytes);
        providers.fileAnswers.push_back(path);
        d->m_nLowIndex = 5;
        RightClick();
        EXPECT_EQ(d->m_nLowIndex, 5) << file.name;
    }
    // A pipe nobody writes to is refused at once, not waited on.
#if defined(_WIN32)
    const std::string pipe = R"(\\.\pipe\qorcolor-test.lut)";
    const HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_OUTBOUND, 0, 1, 0, 0, 0, nullptr);
#else
    const std::string pipe = Temp("pipe.lut");
    std::filesystem::remove(pipe);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
#endif
    providers.fileAnswers.push_back(pipe);
    RightClick();
    EXPECT_EQ(d->m_nLowIndex, 5);
#if defined(_WIN32)
    CloseHandle(server);
#endif
    EXPECT_TRUE(std::equal(loaded.begin(), loaded.end(), d->m_pFileTab));

    RightClick();  // cancelled: nothing changes
    EXPECT_EQ(std::tuple(d->m_nLowIndex, providers.fileRequests.size()),
              std::tuple(5, table_forms::Readable().size() + table_forms::Refused().size() + 2));
}

// A double click writes the active table in the format its extension names
// (only a lower-case .lut has the index column). Every file written reads
// back to the colours saved: those of a scheme, and the nearest of an own
// table of 2000, whose header keeps the name of the table before it. A name
// is read with .lut added unless it ends with exactly that, so caps.LUT is
// read as caps.LUT.lut (the names differ by more than case, which Windows
// file names ignore).
TEST_F(ColorTableWindow, DoubleClickWritesByExtensionAndEveryFileLoadsBack) {
    const char* names[] = {"trip.lut", "caps.LUT", "trip.txt", "trip.h", "bare"};
    driver::PickItem(Item(IDC_SCHEME), 3);
    for (int count : {256, 2000}) {
        const std::string tableName = d->m_pszTabName;
        if (count == 2000) {
            SetWindowTextA(Item(IDC_COLOR_COUNT), "2000");
            driver::Click(Item(IDOK));
        }
        ASSERT_EQ(d->m_nMaxIndex + 1, count);
        const Table saved(d->m_pColorTab, d->m_pColorTab + count);
        for (const char* name : names) {
            providers.fileAnswers.push_back(Temp(name));
            DoubleClick();
            const std::string text = Read(Temp(name)), first = text.substr(0, text.find('\n'));
            if (std::string(name).ends_with(".h"))
                EXPECT_NE(text.find('"' + tableName + "\": " + std::to_string(count) + " entries"),
                          std::string::npos);
            else
                EXPECT_EQ(std::count(first.begin(), first.end(), ' '), name == names[0] ? 3 : 2) << name;
            if (!std::string(name).ends_with(".lut")) {
                std::filesystem::remove(Temp(name) + ".lut");
                std::filesystem::rename(Temp(name), Temp(name) + ".lut");
            }
        }
        for (const std::string name : names) {
            providers.fileAnswers.push_back(Temp(name));
            d->m_nLowIndex = 5;
            RightClick();
            EXPECT_EQ(std::tuple(std::string(d->m_pszTabName), d->m_nLowIndex),
                      std::tuple(name.ends_with(".lut") ? name : name + ".lut", 0));
            for (int i = 0; i < 256; ++i)
                ASSERT_EQ(d->m_param.pColorTab[i], saved[size_t(i * (count - 1) + 127) / 255])
                    << name << " " << i;
        }
    }
    EXPECT_EQ(providers.fileRequests[0],
              driver::FileRequest(
                  false, "Save current color table as a text file...",
                  "c++ header file(*.h)|*.h|color lookup table file(*.lut)|*.lut|text file(*.txt)|*.txt|"
                  "all files(*.*)|*.*||",
                  0x80006u));  // asks before overwriting
    d->m_bEditAlpha = 1;       // double clicks edit the alpha curve then
    DoubleClick();
    EXPECT_EQ(providers.fileRequests.size(), 20u);
}

// Import reads any known form into the file table and activates it as a
// right click does (the right click reads the new forms too); a refusal says
// why and changes nothing. Export writes the active table and refuses
// unknown formats and unwritable paths.
TEST_F(ColorTableWindow, ImportAndExportGoThroughTheFileTable) {
    const std::string preset = Temp("preset.json"), clicked = Temp("clicked.lut");
    Write(preset, R"([{"RGBPoints": [0, 1, 0, 0, 1, 0, 0, 1]}])");
    CString reason;
    d->m_nLowIndex = 20;
    ASSERT_EQ(d->ImportColorTable(preset.c_str(), reason), 0);
    EXPECT_EQ(std::tuple(d->m_pColorTab == reinterpret_cast<unsigned int*>(d->m_pFileTab),
                         std::string(d->m_pszTabName), d->m_nLowIndex, d->m_param.pColorTab[0] & 0xFFFFFFu,
                         d->m_param.pColorTab[255] & 0xFFFFFFu),
              std::tuple(true, "preset.json", 0, 0xFF0000u, 0x0000FFu));

    const Table active(d->m_pColorTab, d->m_pColorTab + 256);
    d->m_nLowIndex = 7;
    for (const std::string& text :
         {std::string(R"([{"RGBPoints": [0, 1, 0]}])"), std::string("no table\n")}) {
        Write(preset, text);
        reason = "";
        EXPECT_EQ(d->ImportColorTable(preset.c_str(), reason), QOR_REFUSED);
        EXPECT_EQ(std::tuple(std::string(reason.GetString()).starts_with("not a colour table: "),
                             d->m_nLowIndex, Table(d->m_pColorTab, d->m_pColorTab + 256)),
                  std::tuple(true, 7, active));
    }
    EXPECT_EQ(d->ImportColorTable(Temp("qc-none/x.json").c_str(), reason), QOR_REFUSED);

    driver::PickItem(Item(IDC_SCHEME), 5);
    const Table scheme(d->m_pColorTab, d->m_pColorTab + 256);
    EXPECT_EQ(std::tuple(d->ExportColorTable(preset.c_str(), QOR_FORMAT_TEXT + 1, reason),
                         d->ExportColorTable(Temp("qc-none/x.json").c_str(), QOR_FORMAT_JSON_PRESET, reason),
                         d->ExportColorTable(preset.c_str(), QOR_FORMAT_JSON_PRESET, reason)),
              std::tuple(QOR_BAD_ARGUMENT, QOR_WRITE_FAILED, QOR_OK));
    std::filesystem::remove(clicked);  // overwrite_existing fails on some Windows runtimes
    std::filesystem::copy_file(preset, clicked);
    providers.fileAnswers.push_back(clicked);
    RightClick();
    EXPECT_EQ(std::string(d->m_pszTabName), "clicked.lut");
    for (int i = 0; i < 256; ++i) ASSERT_EQ(d->m_pColorTab[i] & 0xFFFFFFu, scheme[i] & 0xFFFFFFu) << i;
}

}  // namespace
