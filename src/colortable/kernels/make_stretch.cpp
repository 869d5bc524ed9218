// The stretch of the source table between the two colour indices.
#include <algorithm>

#include "interpolate.h"

namespace qorcolor::colortable {

Stretch MakeStretch(const ColorTabParam& param) {
    static const unsigned int kNoTable[1] = {0};
    if (param.pColorTab == nullptr || param.nMaxIndex < 0) return {kNoTable, 0, 0, 0, 0, 0};
    // The refresh keeps the indices inside the table; a record filled by
    // other hands must not make a builder read outside it either.
    const int low = std::clamp(param.nLowIndex, 0, param.nMaxIndex);
    const int high = std::clamp(param.nHighIndex, 0, param.nMaxIndex);
    const int span = high - low;
    return {param.pColorTab, low, high, span, std::min(0, span), std::max(0, span)};
}

}  // namespace qorcolor::colortable
