// Canvas storage: creation, whole-canvas fill and pixel access.
#include "dib.h"

#include <algorithm>
#include <new>

CDIB::CDIB() = default;

CDIB::CDIB(int /*kind*/) {}

CDIB::~CDIB() = default;

bool CDIB::NewCreate(int width, int height, int bitsPerPixel, int /*reserved*/, int /*clear*/) {
    m_bits.clear();
    m_bits.shrink_to_fit();
    m_width = m_height = m_rowBytes = 0;
    if (bitsPerPixel != 24 || width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return false;
    const int rowBytes = (width * 3 + 3) & ~3;  // BMP rows are padded to 4 bytes
    try {
        m_bits.assign(static_cast<size_t>(rowBytes) * static_cast<size_t>(height), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    m_width = width;
    m_height = height;
    m_rowBytes = rowBytes;
    return true;
}

void CDIB::SetValueAll(unsigned char r, unsigned char g, unsigned char b) {
    FillRect(0, 0, m_width - 1, m_height - 1, r, g, b);
}

void CDIB::PutPixel(int64_t x, int64_t y, uint8_t r, uint8_t g, uint8_t b) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return;
    uint8_t* p = &m_bits[static_cast<size_t>(y) * m_rowBytes + static_cast<size_t>(x) * 3];
    p[0] = b;
    p[1] = g;
    p[2] = r;
}

void CDIB::FillRect(int64_t x1, int64_t y1, int64_t x2, int64_t y2, uint8_t r, uint8_t g, uint8_t b) {
    const int64_t left = std::max<int64_t>(std::min(x1, x2), 0);
    const int64_t right = std::min<int64_t>(std::max(x1, x2), m_width - 1);
    const int64_t bottom = std::max<int64_t>(std::min(y1, y2), 0);
    const int64_t top = std::min<int64_t>(std::max(y1, y2), m_height - 1);
    for (int64_t y = bottom; y <= top; ++y) {
        for (int64_t x = left; x <= right; ++x) PutPixel(x, y, r, g, b);
    }
}

uint32_t CDIB::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
    const uint8_t* p = &m_bits[static_cast<size_t>(y) * m_rowBytes + static_cast<size_t>(x) * 3];
    return static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
}
