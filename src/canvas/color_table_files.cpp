// Colour table files: the file side of the reader, and the writers. Text
// files are written in the forms other imaging tools read: "index r g b"
// lines for .lut (mode 4), "r g b" lines otherwise, each with an alpha
// column when some alpha is not 255; the C++ header keeps alpha in its
// 0xAARRGGBB words. Every form written reads back.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>

#include "color_table_reader.h"
#include "dib.h"
#include "regular_file.h"

namespace {

constexpr long kMaxFileBytes = 4L << 20;  // far above any real table

// The whole file, or false when it cannot be read or is implausibly large.
bool ReadFile(const char* path, std::string& bytes) {
    FILE* file = OpenRegularFile(path, false);
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

}  // namespace

bool ReadColorTableFile(const char* path, unsigned char* table, std::string& reason) {
    std::string bytes;
    if (!path || !ReadFile(path, bytes)) {
        reason = "cannot read the file: not a regular file, unreadable or above 4 MB";
        return false;
    }
    return ReadColorTable(bytes, table, &reason);
}

unsigned char* CDIB::OpenColorTableFromFile(char* path, unsigned char*& table) {
    unsigned char read[4 * kBuiltInEntries];
    std::string reason;
    if (!ReadColorTableFile(path, read, reason)) return nullptr;
    if (!table) table = new unsigned char[sizeof read];
    std::copy(read, read + sizeof read, table);
    return table;
}

// A table whose alpha is not all 255 gets an alpha column, under a header
// that names the columns: rows such as 7 7 7 128 read as index r g b too.
int CDIB::SaveColorTableToLutTxtFile(char* path, unsigned char* table, int entries, int mode) {
    if (!path || !table || entries < 1) return 0;
    FILE* file = OpenRegularFile(path, true);
    if (!file) return 0;
    bool alpha = false;
    for (int i = 0; i < entries; ++i) alpha = alpha || table[4 * static_cast<size_t>(i) + 3] != 255;
    const bool index = mode == 4;
    bool ok = !alpha || std::fprintf(file, index ? "index r g b a\n" : "r g b a\n") > 0;
    for (int i = 0; i < entries && ok; ++i) {
        const unsigned char* e = table + 4 * static_cast<size_t>(i);  // B, G, R, A
        if (index) ok = std::fprintf(file, "%d ", i) > 0;
        ok = ok && std::fprintf(file, "%d %d %d", e[2], e[1], e[0]) > 0;
        if (alpha) ok = ok && std::fprintf(file, " %d", e[3]) > 0;
        ok = ok && std::fputc('\n', file) != EOF;
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
    FILE* file = OpenRegularFile(path, true);
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
