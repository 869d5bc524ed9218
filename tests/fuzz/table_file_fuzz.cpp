// libFuzzer target: any bytes through the colour table reader. It must take
// them or refuse them with a reason without reading past them, and a refusal
// leaves the table as it was. Built and run by `make fuzz`.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "canvas/color_table_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    unsigned char table[1024], before[1024];
    std::memset(before, 0xA5, sizeof before);
    std::memcpy(table, before, sizeof table);
    std::string reason;
    const bool read = ReadColorTable({reinterpret_cast<const char*>(data), size}, table, &reason);
    if (!read && (std::memcmp(table, before, sizeof table) != 0 || reason.empty())) std::abort();
    return 0;
}
