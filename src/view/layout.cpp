// Layout of the view canvas.
#include "layout.h"

#include <algorithm>
#include <cmath>

#include "../dialog/color_dlg.h"

namespace view {

namespace {

constexpr int kMaxSide = 1 << 24;
constexpr double kEmptyRangeDivisor = 1e-7;
constexpr double kMaxColumn = 1 << 30;

int ClampSide(int v) { return std::clamp(v, 0, kMaxSide); }

int ClampColumn(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, -(int64_t{1} << 30), int64_t{1} << 30));
}

}  // namespace

ViewLayout MakeLayout(const CColorDlgBase& dlg) {
    const int m = ClampSide(dlg.m_nMargin);
    const int width = ClampSide(dlg.m_nViewWidth);
    const int height = ClampSide(dlg.m_nViewHeight);
    const int c = 83 * height / 100;
    ViewLayout l{};
    l.margin = m;
    l.columns = width - 2 * m;
    l.baseline = height - c;
    l.histHeight = c - 1 - m;
    l.thresholdRow = l.baseline - m;
    l.indexRow = m + kColorBarTop;
    l.maxIndex = dlg.m_nMaxIndex;
    l.dataMin = dlg.m_dDataMin;
    l.range = dlg.m_dDataMax - dlg.m_dDataMin;
    l.dataMax = dlg.m_dDataMax;
    l.divisor = l.range == 0.0 ? kEmptyRangeDivisor : l.range;
    return l;
}

int TruncToInt(double v) {
    if (!(v == v)) return 0;
    return static_cast<int>(std::clamp(v, -kMaxColumn, kMaxColumn));
}

int ValueColumn(const ViewLayout& l, double v) {
    const double column = (v - l.dataMin) * (l.columns - 1) / l.divisor;
    if (std::isfinite(l.range) && (std::isfinite(column) || !std::isfinite(v)))
        return l.margin + TruncToInt(column);
    // A range or product beyond the largest double is measured in halves.
    const double part = (v * 0.5 - l.dataMin * 0.5) / (l.dataMax * 0.5 - l.dataMin * 0.5);
    return l.margin + TruncToInt(part * (l.columns - 1));
}

int IndexColumn(const ViewLayout& l, int64_t k) {
    if (l.maxIndex < 1) return l.margin;
    return ClampColumn(l.margin + k * (l.columns - 1) / l.maxIndex);
}

CanvasPoint ClientToCanvas(const CColorDlgBase& dlg, const CPoint& client) {
    const int64_t x = int64_t{client.x} - dlg.m_nViewLeft;
    const int64_t row = int64_t{client.y} - dlg.m_nViewTop;
    return {x, int64_t{dlg.m_nViewHeight} - 1 - row,
            x >= 0 && x < dlg.m_nViewWidth && row >= 0 && row < dlg.m_nViewHeight};
}

int BinAtColumn(const ViewLayout& l, int64_t i, int bins) {
    const int64_t span = std::max(l.columns - 1, 1);
    return static_cast<int>(i * (int64_t{bins} - 1) / span);
}

int64_t ColumnOfBin(const ViewLayout& l, int64_t bin, int bins) {
    const int64_t lastBin = int64_t{bins} - 1;
    if (lastBin < 1) return 0;
    return std::clamp<int64_t>(bin, 0, lastBin) * (l.columns - 1) / lastBin;
}

}  // namespace view
