// Marker of the bin under the mouse.
#include <algorithm>
#include <cstdint>

#include "../dialog/color_dlg.h"
#include "view_steps.h"

namespace view {

// A five-column outline ending one column right of the bin's column. A bin
// outside the histogram is marked at the nearer end; with fewer than two bins
// every bin sits at the first column.
void DrawBinMarker(CColorDlgBase& dlg, const ViewLayout& l) {
    const int64_t lastBin = int64_t{dlg.m_nBins} - 1;
    int64_t p = 0;
    if (lastBin >= 1) p = std::clamp<int64_t>(dlg.m_nCurBin, 0, lastBin) * (l.w - 1) / lastBin;
    const int x = l.m + static_cast<int>(p);
    dlg.m_dib.DrawRect(x - 3, l.y0 + 1, x + 1, l.y0 + l.hh - 2, 0, 180, 0);
}

}  // namespace view
