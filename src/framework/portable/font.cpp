// The scalable fonts of the portable window system: a face found by
// fontconfig (DejaVu Sans when it finds none), rendered hinted by FreeType
// and laid out with unhinted advances, so that text widths scale with the
// size as the layout in dialog units does. Each glyph is rendered once.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "window_system.h"

namespace portable {

namespace {

constexpr const char* kFallbackFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kScreenDpi = 96;

struct Glyph {
    bool loaded = false;
    int left = 0, top = 0, width = 0, rows = 0;  // bitmap offset from the pen on the baseline
    long advance = 0;                            // 16.16 pixels, unhinted: text widths scale linearly
    std::vector<uint8_t> coverage;
};

}  // namespace

struct Font {
    FT_Face face = nullptr;
    FontMetrics metrics;
    std::array<Glyph, 256> glyphs;  // by byte: text is Latin-1, as the ANSI code page of the controls
};

namespace {

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library l = nullptr;
        return FT_Init_FreeType(&l) == 0 ? l : nullptr;
    }();
    return library;
}

// The file fontconfig picks for a face name; UI names unknown here, such as
// "MS Shell Dlg", get the desktop's default sans-serif face.
std::string MatchFile(const char* faceName, int& index) {
    std::string file;
    index = 0;
    if (!FcInit()) return file;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(faceName));
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
            file = reinterpret_cast<char*>(path);
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

FT_Face OpenFace(const char* faceName, int pixels) {
    FT_Library library = Library();
    if (!library) return nullptr;
    int index = 0;
    const std::string file = MatchFile(faceName, index);
    FT_Face face = nullptr;
    if (file.empty() || FT_New_Face(library, file.c_str(), index, &face) != 0) {
        face = nullptr;
        if (FT_New_Face(library, kFallbackFile, 0, &face) != 0) return nullptr;
    }
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
        FT_Done_Face(face);
        return nullptr;
    }
    return face;
}

const Glyph& GlyphOf(Font& font, unsigned char c) {
    Glyph& g = font.glyphs[c];
    if (g.loaded || !font.face) return g;
    g.loaded = true;
    if (FT_Load_Char(font.face, c, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL) != 0) return g;
    const FT_GlyphSlot slot = font.face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    g.advance = slot->linearHoriAdvance;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return g;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bitmap.width);
    g.rows = static_cast<int>(bitmap.rows);
    g.coverage.resize(static_cast<size_t>(g.width) * static_cast<size_t>(g.rows));
    for (int y = 0; y < g.rows; ++y) {
        std::memcpy(&g.coverage[static_cast<size_t>(y) * static_cast<size_t>(g.width)],
                    bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch, static_cast<size_t>(g.width));
    }
    return g;
}

// Pixels from 16.16, to the nearest.
int Round16(long value) { return static_cast<int>((value + 0x8000) >> 16); }

// Ascent and descent as Windows takes them from a TrueType face (its OS/2
// table), the average width of the 52 Latin letters as the dialog manager
// measures it for the base units.
FontMetrics Measure(Font& font, int pixels) {
    FontMetrics m;
    const FT_Face face = font.face;
    const double scale = static_cast<double>(pixels) / face->units_per_EM;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const bool windowsMetrics = os2 && os2->version != 0xFFFF && os2->usWinAscent;
    const double ascent = windowsMetrics ? os2->usWinAscent : face->ascender;
    const double descent = windowsMetrics ? os2->usWinDescent : -face->descender;
    m.ascent = static_cast<int>(std::lround(ascent * scale));
    m.descent = static_cast<int>(std::lround(descent * scale));
    m.height = m.ascent + m.descent;
    m.internalLeading = m.height - pixels;
    const int letters = TextWidth(font, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    m.baseUnitX = (letters / 26 + 1) / 2;
    m.averageWidth = windowsMetrics && os2->xAvgCharWidth > 0
                         ? static_cast<int>(std::lround(os2->xAvgCharWidth * scale))
                         : m.baseUnitX;
    m.maxWidth = static_cast<int>(std::lround(face->max_advance_width * scale));
    return m;
}

// Without any font file every text is blank, with the metrics of the
// classic dialog font so that layouts stay sensible.
FontMetrics BlankMetrics() { return FontMetrics{13, 10, 3, 2, 6, 6, 6}; }

}  // namespace

const Font& FindFont(const char* faceName, int points) {
    static auto& fonts = *new std::map<std::pair<std::string, int>, std::unique_ptr<Font>>;
    // Points at 96 DPI to the em height in pixels, as Windows rounds it.
    const int pixels = std::max(1, std::min(400, (points * kScreenDpi + 36) / 72));
    const std::string name = faceName && *faceName ? faceName : "MS Shell Dlg";
    std::unique_ptr<Font>& font = fonts[{name, pixels}];
    if (font) return *font;
    font = std::make_unique<Font>();
    font->face = OpenFace(name.c_str(), pixels);
    font->metrics = font->face ? Measure(*font, pixels) : BlankMetrics();
    return *font;
}

const Font& DefaultFont() { return FindFont("MS Shell Dlg", 8); }

const FontMetrics& MetricsOf(const Font& font) { return font.metrics; }

const Font& FontOf(const Window* w) {
    const Window* top = w ? TopLevelOf(const_cast<Window*>(w)) : nullptr;
    return top && top->font ? *top->font : DefaultFont();
}

int TextWidth(const Font& font, const std::string& text) {
    Font& cache = const_cast<Font&>(font);
    long pen = 0;
    for (char c : text) pen += GlyphOf(cache, static_cast<unsigned char>(c)).advance;
    return Round16(pen);
}

namespace {

uint32_t Blend(uint32_t under, COLORREF color, unsigned alpha) {
    const unsigned channels[3] = {GetRValue(color), GetGValue(color), GetBValue(color)};
    uint32_t out = 0;
    for (int i = 0; i < 3; ++i) {
        const unsigned shift = 16 - 8 * i;
        const unsigned below = (under >> shift) & 0xFF;
        out |= ((below * (255 - alpha) + channels[i] * alpha + 127) / 255) << shift;
    }
    return out;
}

void DrawGlyph(const DrawTarget& target, const Glyph& g, long long x, long long y, COLORREF color) {
    const RECT& clip = target.clip;
    const size_t stride = static_cast<size_t>(target.top->surfaceWidth);
    for (int row = 0; row < g.rows; ++row) {
        const long long sy = y + row;
        if (sy < clip.top || sy >= clip.bottom) continue;
        for (int col = 0; col < g.width; ++col) {
            const long long sx = x + col;
            const unsigned alpha = g.coverage[static_cast<size_t>(row) * static_cast<size_t>(g.width) +
                                              static_cast<size_t>(col)];
            if (alpha == 0 || sx < clip.left || sx >= clip.right) continue;
            uint32_t& pixel = target.top->surface[static_cast<size_t>(sy) * stride + static_cast<size_t>(sx)];
            pixel = Blend(pixel, color, alpha);
        }
    }
}

}  // namespace

int TextOn(const DrawTarget& target, const Font& font, int x, int y, const std::string& text, COLORREF color,
           const COLORREF* background) {
    // Positions far outside any surface are dropped before they could overflow.
    constexpr int kFar = 1 << 24;
    if (x < -kFar || x > kFar || y < -kFar || y > kFar || text.size() > static_cast<size_t>(kFar)) return 0;
    const int width = TextWidth(font, text);
    if (!target.top) return width;
    const FontMetrics& m = font.metrics;
    if (background) FillOn(target, {x, y, x + width, y + m.height}, *background);
    Font& cache = const_cast<Font&>(font);
    const long long baseline = static_cast<long long>(target.origin.y) + y + m.ascent;
    long pen = 0;
    for (char c : text) {
        const Glyph& g = GlyphOf(cache, static_cast<unsigned char>(c));
        const long long left = static_cast<long long>(target.origin.x) + x + Round16(pen) + g.left;
        DrawGlyph(target, g, left, baseline - g.top, color);
        pen += g.advance;
    }
    return width;
}

}  // namespace portable
