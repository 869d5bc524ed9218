// Colour table files. Read: text lines of "R G B" or "R G B A" (what the text
// writer produces), or a 768-byte binary table of 256 reds, 256 greens and 256
// blues. Written: a text file of one "R G B" or "R G B A" line per entry, or a
// C++ header of one array of 0xAARRGGBB words.
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#include <cctype>

#include "dib.h"

namespace {

using Entry = std::array<unsigned char, 4>;  // B, G, R, A as in a table

constexpr size_t kEntries = CDIB::kBuiltInEntries;
constexpr size_t kBinaryBytes = 3 * kEntries;
constexpr long kMaxFileBytes = 4L << 20;  // far above the longest text table

// The whole file, or false when it cannot be read or is implausibly large.
bool ReadFile(const char* path, std::string& bytes) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    ok = ok && size >= 0 && size <= kMaxFileBytes && std::fseek(file, 0, SEEK_SET) == 0;
    if (ok) {
        bytes.resize(static_cast<size_t>(size));
        ok = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    std::fclose(file);
    return ok;
}

// One line of 3 or 4 numbers 0..255, separated by blanks or commas.
bool ParseLine(const std::string& line, Entry& entry) {
    int values[4] = {0, 0, 0, 255};
    int count = 0;
    for (size_t i = 0; i < line.size();) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == ',' || c == '\r') {
            ++i;
            continue;
        }
        if (c < '0' || c > '9' || count == 4) return false;
        int value = 0;
        for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
            value = value * 10 + (line[i] - '0');
            if (value > 255) return false;
        }
        values[count++] = value;
    }
    if (count < 3) return false;
    entry = {static_cast<unsigned char>(values[2]), static_cast<unsigned char>(values[1]),
             static_cast<unsigned char>(values[0]), static_cast<unsigned char>(values[3])};
    return true;
}

bool IsBlankOrComment(const std::string& line) {
    const size_t first = line.find_first_not_of(" \t\r");
    return first == std::string::npos || line[first] == '#';
}

bool ParseText(const std::string& bytes, std::vector<Entry>& entries) {
    size_t at = 0;
    while (at < bytes.size()) {
        size_t end = bytes.find('\n', at);
        if (end == std::string::npos) end = bytes.size();
        const std::string line = bytes.substr(at, end - at);
        at = end + 1;
        if (IsBlankOrComment(line)) continue;
        Entry entry;
        if (!ParseLine(line, entry) || entries.size() == size_t(CDIB::kMaxFileEntries)) return false;
        entries.push_back(entry);
    }
    return !entries.empty();
}

void ParseBinary(const std::string& bytes, std::vector<Entry>& entries) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    entries.resize(kEntries);
    for (size_t i = 0; i < kEntries; ++i) entries[i] = {b[2 * kEntries + i], b[kEntries + i], b[i], 255};
}

}  // namespace

unsigned char* CDIB::OpenColorTableFromFile(char* path, unsigned char*& table) {
    std::string bytes;
    if (!path || !ReadFile(path, bytes)) return nullptr;
    std::vector<Entry> entries;
    if (!ParseText(bytes, entries)) {
        if (bytes.size() != kBinaryBytes) return nullptr;
        ParseBinary(bytes, entries);
    }
    if (!table) table = new unsigned char[4 * kEntries];
    // Entry i of the 256 takes the source entry nearest to the same place.
    const size_t last = entries.size() - 1;
    for (size_t i = 0; i < kEntries; ++i)
        std::memcpy(table + 4 * i, entries[(i * last + (kEntries - 1) / 2) / (kEntries - 1)].data(), 4);
    return table;
}

int CDIB::SaveColorTableToLutTxtFile(char* path, unsigned char* table, int entries, int mode) {
    if (!path || !table || entries < 1) return 0;
    FILE* file = std::fopen(path, "w");
    if (!file) return 0;
    bool ok = true;
    for (int i = 0; i < entries && ok; ++i) {
        const unsigned char* e = table + 4 * static_cast<size_t>(i);  // B, G, R, A
        ok = mode == 4 ? std::fprintf(file, "%d %d %d %d\n", e[2], e[1], e[0], e[3]) > 0
                       : std::fprintf(file, "%d %d %d\n", e[2], e[1], e[0]) > 0;
    }
    return std::fclose(file) == 0 && ok ? 1 : 0;
}

namespace {

// The table's name made into an identifier: letters, digits and underscores
// kept, anything else an underscore, a leading digit prefixed.
std::string IdentifierFor(const char* name) {
    std::string id;
    for (const char* c = name ? name : ""; *c; ++c)
        id += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    if (id.empty()) return "color_table";
    if (std::isdigit(static_cast<unsigned char>(id[0]))) return "_" + id;
    return id;
}

}  // namespace

int CDIB::SaveColorTableToHeaderFile(char* path, char* name, unsigned char* table, int entries) {
    if (!path || !table || entries < 1) return 0;
    FILE* file = std::fopen(path, "w");
    if (!file) return 0;
    const std::string id = IdentifierFor(name);
    bool ok = std::fprintf(file,
                           "// Colour table \"%s\": %d entries, 0xAARRGGBB (blue in the lowest byte).\n"
                           "#pragma once\n\nstatic const unsigned int %s[%d] = {",
                           name ? name : "", entries, id.c_str(), entries) > 0;
    for (int i = 0; i < entries && ok; ++i) {
        const unsigned char* e = table + 4 * static_cast<size_t>(i);  // B, G, R, A
        const unsigned word = unsigned(e[3]) << 24 | unsigned(e[2]) << 16 | unsigned(e[1]) << 8 | e[0];
        ok = std::fprintf(file, "%s0x%08x%s", i % 8 == 0 ? "\n    " : " ", word,
                          i + 1 < entries ? "," : "\n") > 0;
    }
    ok = ok && std::fprintf(file, "};\n") > 0;
    return std::fclose(file) == 0 && ok ? 1 : 0;
}
