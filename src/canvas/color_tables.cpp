// The colour tables the canvas library hands out: the built-in schemes, the
// generated rainbow ramp (a hue sweep at constant saturation and full value)
// and the reversal of a table.
#include <cmath>
#include <algorithm>

#include "builtin_schemes.h"
#include "dib.h"

void CDIB::GetBuildInColorName(char** names, int /*reserved*/) {
    if (!names) return;
    for (int i = 0; i < kBuiltInCount; ++i) names[i] = g_builtInNames[i];
}

unsigned char* CDIB::GetBuildInColorTable() { return g_builtInTables; }

namespace {

float Clamp01(float v) { return v >= 0.0f ? (v <= 1.0f ? v : 1.0f) : 0.0f; }  // NaN gives 0

uint32_t Channel(float v) { return static_cast<uint32_t>(std::lround(Clamp01(v) * 255.0f)); }

// HSV to a B,G,R,A entry; hue as a fraction of the colour circle.
unsigned int HsvEntry(float hue, float sat) {
    float h = hue - std::floor(hue);
    if (!(h >= 0.0f && h < 1.0f)) h = 0.0f;
    const float sector = h * 6.0f;
    const float f = sector - std::floor(sector);
    const float p = 1.0f - sat, q = 1.0f - sat * f, t = 1.0f - sat * (1.0f - f);
    float r = 1.0f, g = p, b = q;
    switch (static_cast<int>(sector) % 6) {
        case 0:
            r = 1.0f, g = t, b = p;
            break;
        case 1:
            r = q, g = 1.0f, b = p;
            break;
        case 2:
            r = p, g = 1.0f, b = t;
            break;
        case 3:
            r = p, g = q, b = 1.0f;
            break;
        case 4:
            r = t, g = p, b = 1.0f;
            break;
        default:
            break;
    }
    return 0xFF000000u | Channel(r) << 16 | Channel(g) << 8 | Channel(b);
}

}  // namespace

void CDIB::GenColorTable(unsigned int* table, int count, float s, float span) {
    if (!table || count < 1) return;
    const float sat = Clamp01(s);
    const float sweep = std::isfinite(span) ? span : 0.0f;
    const float last = count > 1 ? static_cast<float>(count - 1) : 1.0f;
    for (int i = 0; i < count; ++i) table[i] = HsvEntry(sweep * (1.0f - static_cast<float>(i) / last), sat);
}

void CDIB::InvertColorTable(unsigned int* table, int count) {
    if (!table || count < 2) return;
    std::reverse(table, table + count);
}
