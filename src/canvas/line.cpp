// Lines and rectangle outlines. Bresenham (midpoint) lines are clipped to the
// canvas before they are walked, so that far-away end points cost nothing.
#include <algorithm>

#include "dib.h"

namespace {

// Minor-axis offset after `i` major steps: i * minor / major rounded half up.
// Both factors stay below 2^32, so the product fits in 64 bits.
uint64_t MinorOffset(uint64_t i, uint64_t major, uint64_t minor) {
    const uint64_t p = i * minor;
    const uint64_t q = p / major;
    const uint64_t rem = p % major;
    return q + (2 * rem >= major ? 1 : 0);
}

struct Span {
    int64_t lo;
    int64_t hi;  // inclusive; empty when lo > hi
};

// Steps k (0..steps) for which start + dir * k lies in [0, limit).
Span StepsInside(int64_t start, int dir, int64_t steps, int64_t limit) {
    Span s = dir > 0 ? Span{-start, limit - 1 - start} : Span{start - (limit - 1), start};
    return {std::max<int64_t>(s.lo, 0), std::min(s.hi, steps)};
}

// First major step in [lo, hi] whose minor offset is at least `want`, hi + 1 if none.
int64_t FirstAtLeast(int64_t lo, int64_t hi, uint64_t major, uint64_t minor, int64_t want) {
    while (lo <= hi) {
        const int64_t mid = lo + (hi - lo) / 2;
        if (static_cast<int64_t>(MinorOffset(static_cast<uint64_t>(mid), major, minor)) >= want) {
            hi = mid - 1;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

}  // namespace

void CDIB::Line(int x1, int y1, int x2, int y2, unsigned char r, unsigned char g, unsigned char b) {
    if (m_width <= 0 || m_height <= 0) return;
    const int64_t dx = static_cast<int64_t>(x2) - x1;
    const int64_t dy = static_cast<int64_t>(y2) - y1;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    // Work in (major, minor) coordinates so one walk serves both slopes.
    const int64_t a0 = xMajor ? x1 : y1, b0 = xMajor ? y1 : x1;
    const int64_t da = xMajor ? dx : dy, db = xMajor ? dy : dx;
    const int64_t aLimit = xMajor ? m_width : m_height, bLimit = xMajor ? m_height : m_width;
    const int sa = da < 0 ? -1 : 1, sb = db < 0 ? -1 : 1;
    const uint64_t major = static_cast<uint64_t>(da < 0 ? -da : da);
    const uint64_t minor = static_cast<uint64_t>(db < 0 ? -db : db);
    if (major == 0) {
        PutPixel(x1, y1, r, g, b);
        return;
    }
    const Span steps = StepsInside(a0, sa, static_cast<int64_t>(major), aLimit);
    const Span offsets = StepsInside(b0, sb, static_cast<int64_t>(minor), bLimit);
    if (steps.lo > steps.hi || offsets.lo > offsets.hi) return;
    // The minor offset never decreases along the walk, so the visible steps form one run.
    const int64_t first = FirstAtLeast(steps.lo, steps.hi, major, minor, offsets.lo);
    const int64_t last = FirstAtLeast(first, steps.hi, major, minor, offsets.hi + 1) - 1;
    for (int64_t k = first; k <= last; ++k) {
        const int64_t a = a0 + sa * k;
        const int64_t bb =
            b0 + sb * static_cast<int64_t>(MinorOffset(static_cast<uint64_t>(k), major, minor));
        PutPixel(xMajor ? a : bb, xMajor ? bb : a, r, g, b);
    }
}

void CDIB::DrawRect(int x1, int y1, int x2, int y2, unsigned char r, unsigned char g, unsigned char b) {
    Line(x1, y1, x2, y1, r, g, b);
    Line(x2, y1, x2, y2, r, g, b);
    Line(x2, y2, x1, y2, r, g, b);
    Line(x1, y2, x1, y1, r, g, b);
}
