// Copy of the canvas to a device context.
#include <algorithm>

#include "../framework/afx.h"
#include "dib.h"

void CDIB::Draw(CDC* dc, int x, int y, int width, int height) const {
    if (!dc || !dc->GetSafeHdc() || m_bits.empty()) return;
    const int w = std::clamp(width, 0, m_width);
    const int h = std::clamp(height, 0, m_height);
    if (w == 0 || h == 0) return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = m_width;
    info.bmiHeader.biHeight = m_height;  // positive: rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(m_bits.size());
    // The source origin of a bottom-up DIB is its lower-left corner; starting
    // at row m_height - h keeps the canvas's top-left corner at (x, y).
    SetDIBitsToDevice(dc->GetSafeHdc(), x, y, static_cast<DWORD>(w), static_cast<DWORD>(h), 0, m_height - h,
                      0, static_cast<UINT>(m_height), m_bits.data(), &info, DIB_RGB_COLORS);
}
