// The drawing targets of the portable window system: every window draws
// into its top-level window's client surface, clipped to itself and to its
// ancestors' client areas.
#include <algorithm>

#include "window_system.h"

namespace portable {

namespace {

uint32_t ToRgb(COLORREF color) {
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

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
}  // namespace portable
