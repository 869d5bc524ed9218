// Reversal of a colour table.
#include <algorithm>

#include "dib.h"

void CDIB::InvertColorTable(unsigned int* table, int count) {
    if (!table || count < 2) return;
    std::reverse(table, table + count);
}
