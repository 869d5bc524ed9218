// Handles: raised squares and triangles.
#include <algorithm>

#include "dib.h"

namespace {

struct Rgb {
    uint8_t r, g, b;
};

Rgb Lighter(Rgb c) {
    auto up = [](uint8_t v) { return static_cast<uint8_t>(v + (255 - v) / 2); };
    return {up(c.r), up(c.g), up(c.b)};
}

Rgb Darker(Rgb c) {
    return {static_cast<uint8_t>(c.r / 2), static_cast<uint8_t>(c.g / 2), static_cast<uint8_t>(c.b / 2)};
}

}  // namespace

void CDIB::DrawButton(int x1, int y1, int x2, int y2, unsigned char r, unsigned char g, unsigned char b,
                      int state) {
    const Rgb base{r, g, b};
    const Rgb face = state ? Lighter(base) : base;
    // A pressed (highlighted) button swaps the lit and the shaded edges.
    const Rgb lit = state ? Darker(base) : Lighter(base);
    const Rgb shade = state ? Lighter(base) : Darker(base);
    const int64_t left = std::min(x1, x2), right = std::max(x1, x2);
    const int64_t bottom = std::min(y1, y2), top = std::max(y1, y2);
    FillRect(left, bottom, right, top, face.r, face.g, face.b);
    FillRect(left, top, right, top, lit.r, lit.g, lit.b);
    FillRect(left, bottom, left, top, lit.r, lit.g, lit.b);
    FillRect(left, bottom, right, bottom, shade.r, shade.g, shade.b);
    FillRect(right, bottom, right, top, shade.r, shade.g, shade.b);
}

void CDIB::DrawTriButton(int x, int y, int size, unsigned char r, unsigned char g, unsigned char b,
                         int direction, int state) {
    if (size <= 0 || m_height <= 0) return;
    const Rgb base{r, g, b};
    const Rgb face = state ? Lighter(base) : base;
    const Rgb edge = Darker(base);
    // Row k (0 at the tip) lies at y - k pointing up, y + k pointing down;
    // only the rows inside the canvas are visited.
    const int step = direction == 1 ? -1 : 1;
    const int64_t kFromBottom =
        step < 0 ? static_cast<int64_t>(y) - (m_height - 1) : -static_cast<int64_t>(y);
    const int64_t kFromTop = step < 0 ? static_cast<int64_t>(y) : static_cast<int64_t>(m_height - 1) - y;
    const int64_t kFirst = std::max<int64_t>(0, kFromBottom);
    const int64_t kLast = std::min<int64_t>(size - 1, kFromTop);
    for (int64_t k = kFirst; k <= kLast; ++k) {
        const int64_t row = y + step * k;
        const int64_t half = k / 2;
        const Rgb fill = k == size - 1 ? edge : face;
        FillRect(x - half, row, x + half, row, fill.r, fill.g, fill.b);
        PutPixel(x - half, row, edge.r, edge.g, edge.b);
        PutPixel(x + half, row, edge.r, edge.g, edge.b);
    }
}
