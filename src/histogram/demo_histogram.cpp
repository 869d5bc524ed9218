// The noisy bell curve shown while the host has given no data.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ctime>

#include "../dialog/color_dlg.h"

void CColorDlgBase::MakeDemoHistogram() {
    if (!m_pHistogram) m_pHistogram = new int32_t[m_nBins];
    srand(static_cast<unsigned>(time(nullptr)));
    for (int i = 0; i < m_nBins; ++i) {
        const double x = (i - 512) / 200.0;
        const int noise = rand() % 100;
        m_pHistogram[i] = noise + static_cast<int32_t>(4096.0 * std::exp(-x * x));
    }
    m_dDataMin = 0.0;
    m_dDataMax = 4096.0;
    m_pfnNotify = nullptr;
    m_bLogScale = 0;
    ThresholdsFromPercentages();
    m_dLastMaxThr = m_dMaxThr;
    m_dLastMinThr = m_dMinThr;
    UpdateData(FALSE);
}
