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
    const int x = l.margin + static_cast<int>(ColumnOfBin(l, dlg.m_nCurBin, dlg.m_nBins));
    dlg.m_dib.DrawRect(x - 3, l.baseline + 1, x + 1, l.baseline + l.histHeight - 2, 0, 180, 0);
}

}  // namespace view
