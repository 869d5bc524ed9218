// The colour map writers. Each form is built in memory, then written whole
// to a new temporary file beside the target and renamed over it, so that a
// failure never leaves a partial file. Numbers go through std::to_chars:
// the host's locale cannot turn a decimal point into a comma.
//
// Index of this file:
// [SECTION] The 256 entries
// [SECTION] Forms
// [SECTION] Writing through a temporary file
#include "color_map_writers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr int kEntries = 256;

// [SECTION] The 256 entries

struct Rgba {
    int r, g, b, a;
};

double AlphaAt(const ColorMapExport& map, int i) {
    return map.alpha ? 255.0 * std::clamp(static_cast<double>(map.alpha[i]), 0.0, 1.0)
                     : static_cast<double>(map.table[i] >> 24);
}

// Entry i of 256 lies at i * (entries - 1) / 255 in the table, straight
// between the two entries around it.
std::array<Rgba, kEntries> Resample(const ColorMapExport& map) {
    std::array<Rgba, kEntries> out{};
    const int last = map.entries - 1;
    for (int i = 0; i < kEntries; ++i) {
        const double at = static_cast<double>(i) * last / (kEntries - 1);
        const int lo = static_cast<int>(at), hi = std::min(lo + 1, last);
        const double t = at - lo;
        const auto mix = [&](double a, double b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
        const auto channel = [&](int shift) {
            return mix(map.table[lo] >> shift & 0xFF, map.table[hi] >> shift & 0xFF);
        };
        out[i] = {channel(16), channel(8), channel(0), mix(AlphaAt(map, lo), AlphaAt(map, hi))};
    }
    return out;
}

// [SECTION] Forms

std::string Format(double v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v).ptr;
    return std::string(text, end);
}

std::string Fixed(double v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 6).ptr;
    return std::string(text, end);
}

std::string JsonString(const char* text) {
    std::string out = "\"";
    for (const char* c = text ? text : ""; *c; ++c) {
        const auto u = static_cast<unsigned char>(*c);
        if (*c == '"' || *c == '\\') {
            out += '\\';
            out += *c;
        } else if (u < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", u);
            out += escape;
        } else {
            out += u < 0x80 ? *c : '?';  // the name is not known to be UTF-8
        }
    }
    return out + "\"";
}

std::string Binary768(const std::array<Rgba, kEntries>& e) {
    std::string out(3 * kEntries, '\0');
    for (int i = 0; i < kEntries; ++i) {
        out[i] = static_cast<char>(e[i].r);
        out[kEntries + i] = static_cast<char>(e[i].g);
        out[2 * kEntries + i] = static_cast<char>(e[i].b);
    }
    return out;
}

// Where entry `i` of `count` lies between the thresholds; 0..1 when they
// give no range.
double DataUnits(const ColorMapExport& map, int i, int count) {
    const bool range = std::isfinite(map.minThr) && std::isfinite(map.maxThr) && map.maxThr > map.minThr;
    const double lo = range ? map.minThr : 0, hi = range ? map.maxThr : 1;
    return count > 1 ? lo + (hi - lo) * i / (count - 1) : lo;
}

std::string JsonPreset(const ColorMapExport& map, const std::array<Rgba, kEntries>& e) {
    std::string out = "[\n  {\n    \"Name\": " + JsonString(map.name) +
                      ",\n    \"ColorSpace\": \"RGB\",\n    \"NanColor\": [0, 0, 0],\n    \"RGBPoints\": [";
    for (int i = 0; i < kEntries; ++i)
        out += std::string(i ? "," : "") + "\n      " + Format(DataUnits(map, i, kEntries)) + ", " +
               Format(e[i].r / 255.0) + ", " + Format(e[i].g / 255.0) + ", " + Format(e[i].b / 255.0);
    out += "\n    ],\n    \"Points\": [";
    const char* separator = "";
    for (int k = 0; k < map.entries; ++k) {
        if (k != 0 && k != map.entries - 1 && !(map.knots && map.knots[k] == 1)) continue;
        out += separator + std::string("\n      ") + Format(DataUnits(map, k, map.entries)) + ", " +
               Format(AlphaAt(map, k) / 255.0) + ", 0.5, 0.0";
        separator = ",";
    }
    return out + "\n    ]\n  }\n]\n";
}

// A node per entry, so that the colours survive; each carries the alpha.
std::string Clut(const std::array<Rgba, kEntries>& e) {
    std::string intensities = "[BYT]\n", colours = "[RGBA255]\n";
    for (int i = 0; i < kEntries; ++i) {
        const std::string n = std::to_string(i);
        intensities += "nodeintensity" + n + "=" + n + "\n";
        colours += "nodergba" + n + "=" + std::to_string(e[i].r) + "|" + std::to_string(e[i].g) + "|" +
                   std::to_string(e[i].b) + "|" + std::to_string(e[i].a) + "\n";
    }
    return "[INT]\nnumnodes=" + std::to_string(kEntries) + "\n" + intensities + colours;
}

// Six decimals always: a line of whole numbers would read as bytes.
std::string Cmap(const std::array<Rgba, kEntries>& e) {
    std::string out;
    for (const Rgba& c : e)
        out += Fixed(c.r / 255.0) + " " + Fixed(c.g / 255.0) + " " + Fixed(c.b / 255.0) + "\n";
    return out;
}

std::string IndexText(const std::array<Rgba, kEntries>& e) {
    std::string out = "index r g b a\n";
    for (int i = 0; i < kEntries; ++i)
        out += std::to_string(i) + " " + std::to_string(e[i].r) + " " + std::to_string(e[i].g) + " " +
               std::to_string(e[i].b) + " " + std::to_string(e[i].a) + "\n";
    return out;
}

// [SECTION] Writing through a temporary file

// A new file of that name, binary; null when it exists or cannot be made.
std::FILE* CreateNew(const std::string& path) {
#if defined(_WIN32)
    const HANDLE handle =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) _close(fd);
#else
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* file = fdopen(fd, "wb");
    if (!file) close(fd);
#endif
    return file;
}

bool Replace(const std::string& from, const char* to) {
#if defined(_WIN32)
    return MoveFileExA(from.c_str(), to, MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from.c_str(), to) == 0;
#endif
}

bool WriteThroughTemporary(const char* path, const std::string& bytes, std::string& error) {
    constexpr int kAttempts = 100;  // temporary names taken by earlier crashes are skipped
    std::string temporary;
    std::FILE* file = nullptr;
    for (int n = 0; n < kAttempts && !file; ++n) {
        temporary = std::string(path) + ".tmp" + std::to_string(n);
        file = CreateNew(temporary);
    }
    if (!file) {
        error = "cannot create a temporary file beside " + std::string(path);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) == 0 && written && Replace(temporary, path)) return true;
    std::remove(temporary.c_str());
    error = "cannot write " + std::string(path);
    return false;
}

}  // namespace

bool WriteColorMap(const char* path, int format, const ColorMapExport& map, std::string& error) {
    if (format < 0 || format >= kColorMapFormats) {
        error = "unknown colour map format " + std::to_string(format);
        return false;
    }
    if (!path || !*path || !map.table || map.entries < 1) {
        error = "no file name or no table to write";
        return false;
    }
    const auto entries = Resample(map);
    std::string bytes;
    switch (format) {
        case kBinary768:
            bytes = Binary768(entries);
            break;
        case kJsonPreset:
            bytes = JsonPreset(map, entries);
            break;
        case kClut:
            bytes = Clut(entries);
            break;
        case kCmap:
            bytes = Cmap(entries);
            break;
        default:
            bytes = IndexText(entries);
            break;
    }
    return WriteThroughTemporary(path, bytes, error);
}
