// SetDIBitsToDevice and StretchDIBits for uncompressed 24- and 32-bit DIBs,
// bottom-up or top-down, copied nearest-neighbour onto a window surface.
#include <algorithm>
#include <cstdlib>

#include "window_system.h"

using namespace portable;

namespace {

struct DibSource {
    const uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;  // rows, always positive
    bool bottomUp = true;
    int bytesPerPixel = 3;
    size_t stride = 0;
};

constexpr int kMaxDimension = 1 << 16;

bool Describe(const BITMAPINFO* bmi, const void* bits, DibSource& dib) {
    if (!bmi || !bits) return false;
    const BITMAPINFOHEADER& header = bmi->bmiHeader;
    if (header.biCompression != BI_RGB || (header.biBitCount != 24 && header.biBitCount != 32)) return false;
    if (header.biWidth <= 0 || header.biWidth > kMaxDimension || header.biHeight == 0 ||
        header.biHeight < -kMaxDimension || header.biHeight > kMaxDimension) {
        return false;
    }
    dib.bits = static_cast<const uint8_t*>(bits);
    dib.width = header.biWidth;
    dib.height = std::abs(header.biHeight);
    dib.bottomUp = header.biHeight > 0;
    dib.bytesPerPixel = header.biBitCount / 8;
    dib.stride = (static_cast<size_t>(dib.width) * header.biBitCount + 31) / 32 * 4;
    return true;
}

COLORREF ReadPixel(const DibSource& dib, size_t memoryRow, int x) {
    const uint8_t* p = dib.bits + memoryRow * dib.stride + static_cast<size_t>(x) * dib.bytesPerPixel;
    return RGB(p[2], p[1], p[0]);
}

bool InDestRows(const DrawTarget& target, long long y) {
    const long long sy = target.origin.y + y;
    return sy >= target.clip.top && sy < target.clip.bottom;
}

}  // namespace

int SetDIBitsToDevice(HDC hdc, int xDest, int yDest, DWORD w, DWORD h, int xSrc, int ySrc, UINT StartScan,
                      UINT cLines, const void* lpvBits, const BITMAPINFO* lpbmi, UINT /*ColorUse*/) {
    DrawTarget target;
    DeviceContext* dc = nullptr;
    DibSource dib;
    if (!TargetOfDc(hdc, target, dc) || !Describe(lpbmi, lpvBits, dib)) return 0;
    if (w > static_cast<DWORD>(kMaxDimension) || h > static_cast<DWORD>(kMaxDimension)) return 0;
    const long long lines = cLines;
    for (long long j = 0; j < static_cast<long long>(h); ++j) {
        if (!InDestRows(target, static_cast<long long>(yDest) + j)) continue;
        // Bottom-up: ySrc is the source rectangle's lowest row, counted from the bottom.
        const long long scan = dib.bottomUp
                                   ? static_cast<long long>(ySrc) + (static_cast<long long>(h) - 1 - j)
                                   : static_cast<long long>(ySrc) + j;
        const long long memoryRow = scan - StartScan;
        if (scan < 0 || scan >= dib.height || memoryRow < 0 || memoryRow >= lines) continue;
        // The columns inside both the source and the clip, copied straight into the surface.
        const long long destLeft = static_cast<long long>(target.origin.x) + xDest;
        const long long first = std::max({0LL, -static_cast<long long>(xSrc), target.clip.left - destLeft});
        const long long last = std::min({static_cast<long long>(w), dib.width - static_cast<long long>(xSrc),
                                         target.clip.right - destLeft});
        const uint8_t* source = dib.bits + static_cast<size_t>(memoryRow) * dib.stride;
        uint32_t* row = &target.top->surface[static_cast<size_t>(target.origin.y + yDest + j) *
                                             static_cast<size_t>(target.top->surfaceWidth)];
        for (long long i = first; i < last; ++i) {
            const uint8_t* p =
                source + static_cast<size_t>(xSrc + i) * static_cast<size_t>(dib.bytesPerPixel);
            row[destLeft + i] = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
        }
    }
    return static_cast<int>(cLines);
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                  int SrcWidth, int SrcHeight, const void* lpBits, const BITMAPINFO* lpbmi, UINT /*iUsage*/,
                  DWORD /*rop*/) {
    DrawTarget target;
    DeviceContext* dc = nullptr;
    DibSource dib;
    if (!TargetOfDc(hdc, target, dc) || !Describe(lpbmi, lpBits, dib)) return 0;
    const long long dw = std::llabs(DestWidth), dh = std::llabs(DestHeight);
    const long long sw = std::llabs(SrcWidth), sh = std::llabs(SrcHeight);
    if (dw == 0 || dh == 0 || sw == 0 || sh == 0 || dw > kMaxDimension || dh > kMaxDimension) return 0;
    // Negative extents mirror; normalise both rectangles to their low corners.
    const long long destLeft = DestWidth < 0 ? static_cast<long long>(xDest) + DestWidth : xDest;
    const long long destTop = DestHeight < 0 ? static_cast<long long>(yDest) + DestHeight : yDest;
    const long long srcLeft = SrcWidth < 0 ? static_cast<long long>(xSrc) + SrcWidth : xSrc;
    const long long srcLow = SrcHeight < 0 ? static_cast<long long>(ySrc) + SrcHeight : ySrc;
    const bool flipX = (DestWidth < 0) != (SrcWidth < 0);
    const bool flipY = (DestHeight < 0) != (SrcHeight < 0);
    for (long long j = 0; j < dh; ++j) {
        if (!InDestRows(target, destTop + j)) continue;
        long long fy = (2 * j + 1) * sh / (2 * dh);  // source row from the rectangle's top
        if (flipY) fy = sh - 1 - fy;
        const long long scan = dib.bottomUp ? srcLow + (sh - 1 - fy) : srcLow + fy;
        if (scan < 0 || scan >= dib.height) continue;
        for (long long i = 0; i < dw; ++i) {
            long long fx = (2 * i + 1) * sw / (2 * dw);
            if (flipX) fx = sw - 1 - fx;
            const long long sx = srcLeft + fx;
            if (sx < 0 || sx >= dib.width) continue;
            PutPixelOn(target, static_cast<int>(destLeft + i), static_cast<int>(destTop + j),
                       ReadPixel(dib, static_cast<size_t>(scan), static_cast<int>(sx)));
        }
    }
    return static_cast<int>(sh);
}
