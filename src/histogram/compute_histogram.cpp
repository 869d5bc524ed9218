// Rebuilds the histogram when it was marked invalid, from the host's flat
// buffer, its slice pointers, or, with no data, the demonstration.
#include <qorcolor/datatypes.h>

#include <cstdint>

#include "../dialog/color_dlg.h"

namespace {

template <class T>
void BuildFromHostData(CColorDlgBase& dlg) {
    if (dlg.m_pFlatData)
        dlg.BuildHistogram(static_cast<const T*>(dlg.m_pFlatData));
    else
        dlg.BuildHistogram(reinterpret_cast<T***>(dlg.m_pVolume));
}

}  // namespace

void CColorDlgBase::ComputeHistogram() {
    if (m_bHistValid) return;
    m_bHistValid = 1;
    m_nHistPeak = 0;
    if (!m_pVolume && !m_pFlatData) {
        MakeDemoHistogram();
        return;
    }
    // An unsupported code keeps the previous histogram.
    qorcolor::WithElementType(m_nDataType,
                              [this](auto element) { BuildFromHostData<decltype(element)>(*this); });
}
