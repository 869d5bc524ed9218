// Device contexts and drawing of the portable window system: every window
// draws into its top-level window's client surface, clipped to itself.
#include <algorithm>

#include "window_system.h"

namespace portable {

namespace {

uint32_t ToRgb(COLORREF color) {
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

COLORREF ToColorRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r = {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

// A window's client rectangle in its top-level window's surface coordinates.
RECT ClientInSurface(const Window* w, const Window* top) {
    const POINT origin = ScreenClientOrigin(w);
    const POINT topOrigin = ScreenClientOrigin(top);
    const SIZE size = ClientSize(w);
    const LONG x = origin.x - topOrigin.x;
    const LONG y = origin.y - topOrigin.y;
    return {x, y, x + size.cx, y + size.cy};
}

DrawTarget TargetFor(Window* w, bool wholeWindow) {
    DrawTarget target;
    Window* top = TopLevelOf(w);
    if (!top || !IsShown(w)) return target;
    target.top = top;
    const POINT topOrigin = ScreenClientOrigin(top);
    RECT area = ClientInSurface(w, top);
    if (wholeWindow) {
        const RECT outer = ScreenWindowRect(w);
        area = {outer.left - topOrigin.x, outer.top - topOrigin.y, outer.right - topOrigin.x,
                outer.bottom - topOrigin.y};
    }
    target.origin = {area.left, area.top};
    RECT clip = Intersect(area, {0, 0, top->surfaceWidth, top->surfaceHeight});
    for (Window* a = IsTopLevel(w) ? nullptr : FindWindowRecord(w->parent); a && a != top;
         a = FindWindowRecord(a->parent)) {
        clip = Intersect(clip, ClientInSurface(a, top));
    }
    target.clip = clip;
    return target;
}

}  // namespace

DrawTarget ClientTarget(Window* w) { return TargetFor(w, false); }

DrawTarget WindowTarget(Window* w) { return TargetFor(w, true); }

bool TargetOfDc(HDC hdc, DrawTarget& target, DeviceContext*& dc) {
    auto& dcs = System().dcs;
    auto it = dcs.find(reinterpret_cast<uintptr_t>(hdc));
    if (it == dcs.end()) return false;
    dc = &it->second;
    Window* w = FindWindowRecord(dc->hwnd);
    target = w ? ClientTarget(w) : DrawTarget{};
    return true;
}

void PutPixelOn(const DrawTarget& target, int x, int y, COLORREF color) {
    if (!target.top) return;
    const long long sx = static_cast<long long>(target.origin.x) + x;
    const long long sy = static_cast<long long>(target.origin.y) + y;
    if (sx < target.clip.left || sx >= target.clip.right || sy < target.clip.top || sy >= target.clip.bottom)
        return;
    target.top->surface[static_cast<size_t>(sy) * static_cast<size_t>(target.top->surfaceWidth) +
                        static_cast<size_t>(sx)] = ToRgb(color);
}

void FillOn(const DrawTarget& target, const RECT& rect, COLORREF color) {
    if (!target.top) return;
    // In 64 bits, so that any rectangle a caller passes is clipped, never overflows.
    auto clamp = [](long long v, LONG lo, LONG hi) {
        return static_cast<LONG>(std::clamp<long long>(v, lo, hi));
    };
    const RECT& c = target.clip;
    const RECT area = {clamp(static_cast<long long>(rect.left) + target.origin.x, c.left, c.right),
                       clamp(static_cast<long long>(rect.top) + target.origin.y, c.top, c.bottom),
                       clamp(static_cast<long long>(rect.right) + target.origin.x, c.left, c.right),
                       clamp(static_cast<long long>(rect.bottom) + target.origin.y, c.top, c.bottom)};
    const uint32_t rgb = ToRgb(color);
    const size_t width = static_cast<size_t>(target.top->surfaceWidth);
    for (LONG y = area.top; y < area.bottom; ++y) {
        uint32_t* row = &target.top->surface[static_cast<size_t>(y) * width];
        std::fill(row + area.left, row + area.right, rgb);
    }
}

void FrameOn(const DrawTarget& target, const RECT& rect, COLORREF color) {
    FillOn(target, {rect.left, rect.top, rect.right, rect.top + 1}, color);
    FillOn(target, {rect.left, rect.bottom - 1, rect.right, rect.bottom}, color);
    FillOn(target, {rect.left, rect.top, rect.left + 1, rect.bottom}, color);
    FillOn(target, {rect.right - 1, rect.top, rect.right, rect.bottom}, color);
}

const Font& FontOf(const Window* w) {
    const Window* top = w ? TopLevelOf(const_cast<Window*>(w)) : nullptr;
    return top && top->font ? *top->font : DefaultFont();
}

}  // namespace portable

using namespace portable;

namespace {

constexpr COLORREF kInvalidColor = 0xFFFFFFFF;

DeviceContext* FindDc(HDC hdc) {
    auto& dcs = System().dcs;
    auto it = dcs.find(reinterpret_cast<uintptr_t>(hdc));
    return it == dcs.end() ? nullptr : &it->second;
}

}  // namespace

HDC GetDC(HWND hWnd) {
    if (hWnd && !IsWindow(hWnd)) return nullptr;
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
