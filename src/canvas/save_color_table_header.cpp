// Colour table as a C++ header: one array of 0xAARRGGBB words.
#include <cctype>
#include <cstdio>
#include <string>

#include "dib.h"

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
