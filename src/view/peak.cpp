// The peak of the histogram, the scale of the bars.
#include "../dialog/color_dlg.h"
#include "view_steps.h"

namespace view {

// Counts are signed; the scan starts at 0, so a histogram without a positive
// count leaves the peak unknown and is scanned again on the next refresh.
void FindPeak(CColorDlgBase& dlg) {
    if (dlg.m_nHistPeak == 0 && dlg.m_pHistogram) {
        int32_t peak = 0;
        for (int b = 0; b < dlg.m_nBins; ++b) {
            if (dlg.m_pHistogram[b] > peak) peak = dlg.m_pHistogram[b];
        }
        dlg.m_nHistPeak = peak;
    }
    dlg.m_nHistScale = dlg.m_nHistPeak;
}

}  // namespace view
