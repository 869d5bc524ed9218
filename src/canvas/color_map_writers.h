// Writes a colour table in the forms other tools read: 768 planar bytes, a
// JSON preset, an INI-style .clut, a .cmap of fractions and "index r g b a"
// text. Every form reads back through ReadColorTable to the same 256
// colours; all but the binary form keep the alpha too.
#pragma once

#include <string>

// What is written. `table` holds `entries` words 0xAARRGGBB; `alpha` (one
// per entry, 0..1) and `knots` (1 at each knot of the alpha curve) may be
// null, when the table's own alpha bytes are written and the ends are the
// knots. The thresholds place the JSON preset's points in data units.
struct ColorMapExport {
    const unsigned int* table = nullptr;
    int entries = 0;
    const float* alpha = nullptr;
    const int* knots = nullptr;
    double minThr = 0, maxThr = 1;
    const char* name = "";
};

// The codes of QorTableFormat.
enum ColorMapFormat { kBinary768, kJsonPreset, kClut, kCmap, kIndexText, kColorMapFormats };

// Writes `map` in `format` to a temporary file beside `path`, then renames
// it to `path`. False with `error` set when the format is unknown, the table
// empty or anything fails; then no file is left behind and `path` is as it was.
bool WriteColorMap(const char* path, int format, const ColorMapExport& map, std::string& error);
