// The view: refresh, layout, drawing and the alpha curve routines.
//
// The canvas is 392 x 300 with margin 7: 378 histogram columns, baseline row 51,
// histogram top row 292, threshold handles on row 44, index handles on row 20.
// The data range 0 .. 377 puts data value v on column 7 + v, and a peak of 241
// (the histogram height) makes the linear bar of a count exactly that tall.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

#include "dialog/color_dlg.h"
#include "support/driver.h"

namespace {

constexpr int kW = 392, kH = 300, kM = 7, kBase = 51, kTop = 292;
constexpr uint32_t kLineBlue = 0x0000BC, kLineRed = 0xBC0000, kMarker = 0x00B400, kCurve = 0xFF0000;

uint32_t Face() {
    const COLORREF c = GetSysColor(COLOR_3DFACE);
    return uint32_t{GetRValue(c)} << 16 | uint32_t{GetGValue(c)} << 8 | GetBValue(c);
}

class View : public ::testing::Test {
protected:
    CColorDlgBase d;
    unsigned int tab[256];

    void SetUp() override {
        d.m_dib.NewCreate(kW, kH, 24, 0, 1);
        d.m_nViewWidth = kW, d.m_nViewHeight = kH;
        for (unsigned k = 0; k < 256; ++k) tab[k] = 0xFF000000u | k << 16 | (255 - k) << 8 | ((k * 37) & 255);
        d.m_pColorTab = tab, d.m_pHistogram = new int32_t[1024];
        for (int b = 0; b < 1024; ++b) d.m_pHistogram[b] = (b * 7) % 200;  // zero at bins 0, 200, ...
        d.m_pHistogram[27] = 241;                                          // column 10
        d.m_bHistValid = 1, d.m_bLogScale = 0;
        d.m_dDataMin = 0.0, d.m_dDataMax = 377.0, d.m_dMinThr = 100.0, d.m_dMaxThr = 300.0;
        d.m_nCurBin = 1023;  // marker on columns 381 .. 385, clear of the columns tested
    }
    uint32_t Px(int x, int y) const { return d.m_dib.GetPixel(x, y); }
    uint32_t Entry(int64_t k) const { return tab[k] & 0xFFFFFF; }
    int Count(int i) const { return d.m_pHistogram[i * 1023 / 377]; }
    bool RowHas(int y, int x0, int x1, uint32_t c) const {
        for (int x = x0; x <= x1; ++x)
            if (Px(x, y) == c) return true;
        return false;
    }
    // The column rule for thresholds 100 and 300, in floating point instead of integer division.
    static int64_t Ramp(int i, int lo, int hi) {
        return lo + static_cast<int64_t>(std::trunc(double(hi - lo) * (std::clamp(i, 100, 300) - 100) / 200));
    }
    void ExpectBar(int i, int h, uint32_t color) {
        for (int y = kBase; y <= kBase + h; ++y)
            ASSERT_EQ(Px(kM + i, y), color) << "column " << i << " row " << y;
        EXPECT_EQ(Px(kM + i, kBase + h + 1), Face()) << "above column " << i;
    }
};

TEST_F(View, LayoutHandlesHighlightAndBinMarker) {
    d.m_nLowIndex = 51, d.m_nHighIndex = 200;
    d.UpdateView(0);
    // Index columns: 51 * 377 / 255 = 75.4, 200 * 377 / 255 = 295.7, (51 + 200) / 2 = 125 at 184.8.
    const std::vector<CPoint> pts{d.m_ptLowThr,    d.m_ptHighThr, d.m_ptLowIndex,
                                  d.m_ptHighIndex, d.m_ptMidThr,  d.m_ptMidIndex};
    EXPECT_EQ(pts, std::vector<CPoint>({{107, 44}, {307, 44}, {82, 20}, {302, 20}, {207, 44}, {191, 20}}));
    for (int y = 0; y <= 14; ++y) EXPECT_EQ(Px(kM + 10, y), y % 14 ? Entry(10 * 255 / 377) : Face()) << y;
    EXPECT_EQ(std::tuple(Px(150, 44), Px(150, 20)), std::tuple(kLineRed, kLineRed));  // between the pairs
    EXPECT_TRUE(RowHas(32, 92, 97, kLineBlue));  // halfway from (107, 44) to (82, 20)
    // Threshold triangles point up into the histogram, index triangles down onto the colour bar.
    EXPECT_TRUE(Px(107, 41) != Face() && Px(107, 47) == Face() && Px(82, 23) != Face() &&
                Px(82, 17) == Face());
    auto region = [&](int k) {
        std::vector<uint32_t> px;
        for (int y = pts[k].y - kM; y <= pts[k].y + kM; ++y)
            for (int x = pts[k].x - kM; x <= pts[k].x + kM; ++x) px.push_back(Px(x, y));
        return px;
    };
    const std::vector plain{region(0), region(1), region(2), region(3), region(4), region(5)};
    for (int active = 0; active <= 6; ++active) {  // only the dragged handle is lit; 6: the last released
        d.m_nActiveHandle = std::min(active, 5), d.m_bMouseDown = active < 6;
        d.UpdateView(0);
        for (int k = 0; k < 6; ++k) EXPECT_EQ(region(k) != plain[k], k == active) << active << " " << k;
    }
    // The marker outlines five columns around its bin's (bin 0: -3 .. 1, 512: 185 .. 189) over the histogram.
    for (const auto& [bin, x0] : {std::pair{0, kM - 3}, {512, kM + 185}}) {
        d.m_nCurBin = bin;
        d.UpdateView(0);
        for (int x = x0 - 1; x <= x0 + 5; ++x) EXPECT_EQ(Px(x, 150) == kMarker, x == x0 || x == x0 + 4) << x;
        EXPECT_TRUE(Px(x0 + 2, 52) == kMarker && Px(x0, 290) == kMarker && Px(x0, 291) != kMarker);
    }
}

std::tuple<int, ColorTabParam*, double> g_seen;  // calls, the last argument, the upper percentage then
const CColorDlgBase* g_notifier = nullptr;
void Notify(ColorTabParam* p) { g_seen = {std::get<0>(g_seen) + 1, p, g_notifier->m_dMaxPct}; }

TEST_F(View, ClampsEachValueToItsBandFillsTheRecordAndNotifiesWhenAsked) {
    const double gap = 377.0 * 7 / 378;  // and 255 * 7 / 377 = 4 indices
    // Thresholds and indices, and the same clamped; crossed thresholds stay crossed.
    const std::tuple<double, double, int, int, std::tuple<double, double, int, int>> cases[] = {
        {-3.0, 377.5, -5, 300, {0.0, 377.0, 0, 255}},
        {376.0, 2.0, 0, 255, {377.0 - gap, gap, 0, 255}},
        {NAN, NAN, 0, 255, {0.0, 377.0, 0, 255}},  // NaN thresholds go to the data's ends
        {300.0, 100.0, 253, 2, {300.0, 100.0, 251, 4}}};
    for (const auto& [minThr, maxThr, low, high, clamped] : cases) {
        d.m_dMinThr = minThr, d.m_dMaxThr = maxThr, d.m_nLowIndex = low, d.m_nHighIndex = high;
        d.UpdateView(1);  // asked to notify, with no callback
        EXPECT_EQ(std::tuple(d.m_dMinThr, d.m_dMaxThr, d.m_nLowIndex, d.m_nHighIndex), clamped);
    }
    EXPECT_EQ(std::tuple(d.m_dMinGapThr, d.m_nMinGapIndex), std::tuple(gap, 4));
    // Every column up to the lower threshold's has the lower colour.
    EXPECT_EQ(std::tuple(Px(kM + 200, kBase), Px(kM + 301, kBase)), std::tuple(Entry(251), Entry(4)));

    g_notifier = &d, d.m_pfnNotify = Notify;
    d.m_dDataMin = -100.0, d.m_dDataMax = 300.0, d.m_dMinThr = -50.0, d.m_dMaxThr = 900.0;
    d.UpdateView(0);  // not asked: no callback
    d.UpdateView(1);
    const ColorTabParam& p = d.m_param;
    EXPECT_EQ(std::tuple(p.pColorTab, p.nMaxIndex, p.nHighIndex, p.nLowIndex, p.dDataMax, p.dDataMin,
                         p.dMaxThr, p.dMinThr),
              std::tuple(tab, 255, 4, 251, 300.0, -100.0, 300.0, -50.0));
    EXPECT_EQ(g_seen, std::tuple(1, &d.m_param, 100.0));  // once, with the record, after the percentages

    // The largest table: 10239 * 7 / 377 = 190.1 indices apart, as 377 column steps span it.
    std::vector<unsigned int> wide(10240);
    d.m_pColorTab = wide.data(), d.m_nMaxIndex = 10239, d.m_nLowIndex = 10239, d.m_nHighIndex = 2;
    d.UpdateView(0);
    EXPECT_EQ(std::tuple(d.m_nMinGapIndex, d.m_nLowIndex, d.m_nHighIndex), std::tuple(190, 10049, 190));
}

TEST_F(View, BarsColourBarAndThePeakCache) {
    const double f = 241 / std::log(242.0);
    // Scale mode 1 is logarithmic, any other linear. The ramp between the thresholds
    // truncates toward zero: -0.75 and -1.5 on columns 101 and 102 for 200 .. 50.
    for (const auto& [scale, lo, hi] : {std::tuple{1, 0, 255}, {0, 10, 110}, {2, 200, 50}}) {
        d.m_bLogScale = scale, d.m_nLowIndex = lo, d.m_nHighIndex = hi;
        d.UpdateView(0);
        for (int i = 0; i < 374; ++i)  // column 10 reaches the top row exactly
            ExpectBar(i, scale == 1 ? static_cast<int>(std::log(Count(i) + 1.0) * f) : Count(i),
                      Entry(Ramp(i, lo, hi)));
    }
    for (int i = 0; i < 378; ++i) ASSERT_EQ(Px(kM + i, 7), Entry(static_cast<int>(i * 255.0 / 377))) << i;

    // The peak is cached until cleared; column 2 shows bin 5, above the stale peak and cut at the top.
    d.m_pHistogram[5] = 1000;
    d.UpdateView(0);
    EXPECT_EQ(std::tuple(d.m_nHistPeak, d.m_nHistScale, Px(kM + 2, kTop)), std::tuple(241, 241, Entry(200)));
    d.m_nHistPeak = 0;
    d.UpdateView(0);
    EXPECT_EQ(d.m_nHistScale, 1000);
    for (int b = 0; b < 1024; ++b) d.m_pHistogram[b] = 0;
    for (int log = 0; log < 2; ++log) {  // no scale at all: every bar is a dot
        d.m_bLogScale = log, d.m_nHistPeak = 0;
        d.UpdateView(0);
        ExpectBar(50, 0, Entry(200));
        EXPECT_EQ(Px(kM + 50, kBase - 1), Face());
    }
    d.m_dMinThr = d.m_dMaxThr = 150.0;  // one column: no ramp at all
    d.UpdateView(0);
    EXPECT_EQ(std::tuple(Px(kM + 150, kBase), Px(kM + 151, kBase)), std::tuple(Entry(200), Entry(50)));
}

TEST_F(View, AlphaCurveOnlyInEditAlphaModeKnotHitsAndMoves) {
    d.UpdateView(0);
    for (int y = 0; y < kH; ++y) ASSERT_FALSE(RowHas(y, 0, kW - 1, kCurve)) << y;
    d.m_bEditAlpha = 1, d.m_pAlpha[0] = 0.5f;
    d.m_pAlphaKnot[128] = 1, d.m_pKnotPos[128] = CPoint(200, 100);
    d.UpdateView(0);
    EXPECT_TRUE(RowHas(136, 98, 106, kCurve));   // on the way from (6, 171) to (200, 100)
    EXPECT_TRUE(RowHas(196, 289, 295, kCurve));  // on the way from (200, 100) to (384, 292)
    const uint32_t plain = Px(384, kTop - 3);    // inside the last knot's square
    d.m_nActiveKnot = 255, d.m_bMouseDown = 1;
    d.UpdateView(0);
    EXPECT_NE(Px(384, kTop - 3), plain);

    // Hit testing prefers the lower of two knots in reach.
    d.m_pAlphaKnot[10] = 1, d.m_pKnotPos[10] = CPoint(100, 150);
    d.m_pAlphaKnot[11] = 1, d.m_pKnotPos[11] = CPoint(103, 152);
    d.m_pKnotPos[50] = CPoint(300, 200);  // not a knot
    const int cases[][4] = {{102, 151, 10, 150}, {104, 154, 10, 150}, {105, 150, 11, 152},
                            {107, 156, 11, 152}, {108, 152, -1, 0},   {103, 157, -1, 0},
                            {300, 200, -1, 0}};
    for (const auto& c : cases) {
        d.m_nKnotDownY = 0;
        d.HitTestKnot(c[0], c[1]);
        EXPECT_EQ(std::tuple(d.m_nActiveKnot, d.m_nKnotDownY), std::tuple(c[2], c[3])) << c[0] << "," << c[1];
    }

    // Moving a knot clamps it to the area and interpolates up to its neighbours.
    std::fill_n(d.m_pAlphaKnot + 1, 254, 0);
    d.m_pAlpha[0] = 1.0f, d.m_pAlpha[255] = 0.2f;
    d.DrawAlphaCurve(6, kBase, 378, 241);
    d.m_pAlphaKnot[100] = d.m_pAlphaKnot[101] = 1, d.m_pKnotPos[100] = CPoint(150, 171);
    d.m_nActiveKnot = 100, d.m_nKnotDownY = 171;
    d.MoveActiveKnot(-1000);
    EXPECT_EQ(std::tuple(d.m_pKnotPos[100], d.m_pAlpha[100], d.m_pAlpha[50]),
              std::tuple(CPoint(150, kBase), 0.0f, 0.5f));
    d.MoveActiveKnot(1000);
    EXPECT_EQ(std::tuple(d.m_pKnotPos[100].y, d.m_pAlpha[100], d.m_pAlpha[25]), std::tuple(kTop, 1.0f, 1.0f));
    d.MoveActiveKnot(-51);
    d.m_nActiveKnot = 101, d.m_nKnotDownY = 200;
    d.MoveActiveKnot(0);  // 100 and 101 are adjacent: nothing between them
    EXPECT_NEAR(d.m_pAlpha[100], 69.0 / 241, 1e-6);
    EXPECT_NEAR(d.m_pAlpha[178], 149.0 / 241 + (0.2 - 149.0 / 241) * 77 / 154, 1e-6);
    const std::vector<float> before(d.m_pAlpha, d.m_pAlpha + 256);
    for (int active : {-1, 256, 5000}) {  // no knot: the curve stays
        d.m_nActiveKnot = active;
        d.MoveActiveKnot(-1000);
        EXPECT_EQ(std::vector<float>(d.m_pAlpha, d.m_pAlpha + 256), before) << active;
    }
}

TEST_F(View, DegenerateInputsStayDefined) {
    d.m_dMinPct = 20.0, d.m_dMaxPct = 80.0, d.m_dDataMin = d.m_dDataMax = 5.0;
    d.UpdateView(0);  // empty range: everything at the first column, percentages kept
    EXPECT_EQ(std::tuple(d.m_dMinThr, d.m_dMaxThr, d.m_dMinPct, d.m_dMaxPct, d.m_ptHighThr.x),
              std::tuple(5.0, 5.0, 20.0, 80.0, kM));
    d.m_dDataMax = 377.0, d.m_dMinThr = 100.0, d.m_dMaxThr = 300.0, d.m_nBins = 1, d.m_pHistogram[0] = 120;
    d.UpdateView(0);
    ExpectBar(300, 120, Entry(255));
    d.m_nBins = 0, d.m_nMaxIndex = 0;  // no bins: no bars; a table of one entry
    d.UpdateView(0);
    EXPECT_EQ(std::tuple(d.m_nLowIndex, d.m_nHighIndex, Px(kM + 300, 7), Px(kM + 20, kBase)),
              std::tuple(0, 0, Entry(0), Face()));

    d.m_nBins = 1024, d.m_nMaxIndex = 255, d.m_nHistPeak = 0;
    delete[] std::exchange(d.m_pHistogram, nullptr);  // no histogram was ever built: no bars
    d.UpdateView(0);
    EXPECT_EQ(std::tuple(Px(kM + 20, kBase), Px(kM + 20, 7)), std::tuple(Face(), Entry(13)));

    d.m_pHistogram = new int32_t[1024]{5, 7};
    d.m_bEditAlpha = 1;
    for (int width : {0, 5, 14, 15, 16, 20, 22}) {  // below 2m + 2 pixels and just above
        d.m_dib.NewCreate(width > 0 ? width : 1, kH, 24, 0, 1);
        d.m_nViewWidth = width;
        d.UpdateView(0);
        EXPECT_TRUE(d.m_nLowIndex >= 0 && d.m_nHighIndex <= 255 && d.m_nLowIndex <= d.m_nHighIndex) << width;
        EXPECT_TRUE(std::isfinite(d.m_dMinThr) && std::isfinite(d.m_dMaxPct)) << width;
    }
}

}  // namespace
