// Colour table as a text file: one "R G B" or "R G B A" line per entry.
#include <cstdio>

#include "dib.h"

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
