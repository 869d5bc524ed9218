// Device contexts, painting and system colours of the portable window
// system, over the drawing targets of surface.cpp.
#include <algorithm>

#include "window_system.h"

using namespace portable;

namespace {

constexpr COLORREF kInvalidColor = 0xFFFFFFFF;

COLORREF ToColorRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

DeviceContext* FindDc(HDC hdc) {
    auto& dcs = System().dcs;
    auto it = dcs.find(reinterpret_cast<uintptr_t>(hdc));
    return it == dcs.end() ? nullptr : &it->second;
}

}  // namespace

HDC GetDC(HWND hWnd) {
    if (hWnd && !FindWindowRecord(hWnd)) return nullptr;
    WindowSystem& system = System();
    const uintptr_t handle = system.nextDc;
    system.nextDc += 4;
    system.dcs[handle].hwnd = hWnd;
    return reinterpret_cast<HDC>(handle);
}

// What a device context drew is on the surface once it is released.
int ReleaseDC(HWND /*hWnd*/, HDC hDC) {
    const DeviceContext* dc = FindDc(hDC);
    if (!dc) return 0;
    if (Window* w = FindWindowRecord(dc->hwnd)) {
        const DrawTarget drawn = WindowTarget(w);
        if (drawn.top) DesktopDirty(drawn.top, drawn.clip);
    }
    System().dcs.erase(reinterpret_cast<uintptr_t>(hDC));
    return 1;
}

HDC BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    Window* w = FindWindowRecord(hWnd);
    if (!w || !lpPaint) return nullptr;
    HDC hdc = GetDC(hWnd);
    w->invalid = false;
    const SIZE size = ClientSize(w);
    lpPaint->hdc = hdc;
    lpPaint->fErase = TRUE;
    lpPaint->rcPaint = {0, 0, size.cx, size.cy};
    SendMessageA(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    return hdc;
}

BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint) {
    if (!lpPaint) return FALSE;
    ReleaseDC(hWnd, lpPaint->hdc);
    return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
    DrawTarget target;
    DeviceContext* dc = nullptr;
    if (!TargetOfDc(hdc, target, dc) || (!lpString && c > 0) || c < 0) return FALSE;
    const COLORREF background = dc->bkColor;
    TextOn(target, FontOf(FindWindowRecord(dc->hwnd)), x, y,
           std::string(lpString ? lpString : "", static_cast<size_t>(c)), dc->textColor,
           dc->bkMode == OPAQUE ? &background : nullptr);
    return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
    const DeviceContext* dc = FindDc(hdc);
    if (!lptm || !dc) return FALSE;
    const FontMetrics& m = MetricsOf(FontOf(FindWindowRecord(dc->hwnd)));
    *lptm = TEXTMETRICA{};
    lptm->tmHeight = m.height;
    lptm->tmAscent = m.ascent;
    lptm->tmDescent = m.descent;
    lptm->tmInternalLeading = m.internalLeading;
    lptm->tmExternalLeading = 0;
    lptm->tmAveCharWidth = m.averageWidth;
    lptm->tmMaxCharWidth = m.maxWidth;
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, SIZE* lpSize) {
    const DeviceContext* dc = FindDc(hdc);
    if (!lpSize || !dc || c < 0 || (!lpString && c > 0)) return FALSE;
    const Font& font = FontOf(FindWindowRecord(dc->hwnd));
    lpSize->cx = TextWidth(font, std::string(lpString ? lpString : "", static_cast<size_t>(c)));
    lpSize->cy = MetricsOf(font).height;
    return TRUE;
}

namespace {

COLORREF ColorOf(HDC hdc, COLORREF DeviceContext::*field) {
    const DeviceContext* dc = FindDc(hdc);
    return dc ? dc->*field : kInvalidColor;
}

COLORREF ExchangeColor(HDC hdc, COLORREF DeviceContext::*field, COLORREF color) {
    DeviceContext* dc = FindDc(hdc);
    if (!dc) return kInvalidColor;
    std::swap(dc->*field, color);
    return color;
}

}  // namespace

COLORREF GetTextColor(HDC hdc) { return ColorOf(hdc, &DeviceContext::textColor); }
COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return ExchangeColor(hdc, &DeviceContext::textColor, color);
}
COLORREF GetBkColor(HDC hdc) { return ColorOf(hdc, &DeviceContext::bkColor); }
COLORREF SetBkColor(HDC hdc, COLORREF color) { return ExchangeColor(hdc, &DeviceContext::bkColor, color); }

int SetBkMode(HDC hdc, int mode) {
    DeviceContext* dc = FindDc(hdc);
    if (!dc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    std::swap(dc->bkMode, mode);
    return mode;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    WindowSystem& system = System();
    const uintptr_t handle = system.nextBrush;
    system.nextBrush += 4;
    system.brushes[handle] = color & 0x00FFFFFF;
    return reinterpret_cast<HBRUSH>(handle);
}

BOOL DeleteObject(HGDIOBJ ho) {
    return System().brushes.erase(reinterpret_cast<uintptr_t>(ho)) ? TRUE : FALSE;
}

int FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    DrawTarget target;
    DeviceContext* dc = nullptr;
    if (!lprc || !TargetOfDc(hDC, target, dc)) return 0;
    const uintptr_t handle = reinterpret_cast<uintptr_t>(hbr);
    COLORREF color;
    auto& brushes = System().brushes;
    if (auto it = brushes.find(handle); it != brushes.end()) {
        color = it->second;
    } else if (handle >= 1 && handle <= 31) {
        color = GetSysColor(static_cast<int>(handle) - 1);  // (HBRUSH)(COLOR_* + 1)
    } else {
        return 0;
    }
    FillOn(target, *lprc, color);
    return 1;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    DrawTarget target;
    DeviceContext* dc = nullptr;
    if (!TargetOfDc(hdc, target, dc) || !target.top) return kInvalidColor;
    const long long sx = static_cast<long long>(target.origin.x) + x;
    const long long sy = static_cast<long long>(target.origin.y) + y;
    if (sx < target.clip.left || sx >= target.clip.right || sy < target.clip.top ||
        sy >= target.clip.bottom) {
        return kInvalidColor;
    }
    return ToColorRef(
        target.top->surface[static_cast<size_t>(sy) * static_cast<size_t>(target.top->surfaceWidth) +
                            static_cast<size_t>(sx)]);
}

BOOL InvalidateRect(HWND hWnd, const RECT* /*lpRect*/, BOOL /*bErase*/) {
    if (!hWnd) {
        for (auto& entry : System().windows) {
            if (entry.second->alive && IsTopLevel(entry.second.get())) InvalidateTree(entry.second.get());
        }
        return TRUE;
    }
    Window* w = FindWindowRecord(hWnd);
    if (!w) return FALSE;
    InvalidateTree(w);
    return TRUE;
}

BOOL UpdateWindow(HWND hWnd) {
    Window* w = FindWindowRecord(hWnd);
    if (!w) return FALSE;
    if (w->invalid && IsShown(w)) {
        SendMessageA(hWnd, WM_PAINT, 0, 0);
        if ((w = FindWindowRecord(hWnd))) w->invalid = false;
    }
    return TRUE;
}

DWORD GetSysColor(int nIndex) {
    switch (nIndex) {
        case COLOR_3DFACE:
            return RGB(240, 240, 240);
        case COLOR_HIGHLIGHT:
            return RGB(0, 120, 215);
        case COLOR_HIGHLIGHTTEXT:
        case COLOR_WINDOW:
            return RGB(255, 255, 255);
        case COLOR_WINDOWTEXT:
            return RGB(0, 0, 0);
        default:
            return RGB(0, 0, 0);
    }
}
