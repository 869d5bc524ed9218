// Rebuilds the histogram when it was marked invalid, from the host's flat
// buffer, its slice pointers, or, with no data, the demonstration.
#include <qorcolor/datatypes.h>

#include <cstdint>

#include "../dialog/color_dlg.h"
#include "histogram.h"

namespace {

template <class T>
void BuildFromHostData(CColorDlgBase& dlg) {
    if (dlg.m_pFlatData)
        dlg.BuildHistogram(static_cast<const T*>(dlg.m_pFlatData));
    else
        dlg.BuildHistogram(reinterpret_cast<T***>(dlg.m_pVolume));
}

}  // namespace

void qorcolor::histogram::ComputeHistogram(CColorDlgBase& dlg) {
    if (dlg.m_bHistValid) return;
    dlg.m_bHistValid = 1;
    dlg.m_nHistPeak = 0;
    if (!dlg.m_pVolume && !dlg.m_pFlatData) {
        dlg.MakeDemoHistogram();
        return;
    }
    // An unsupported code keeps the previous histogram.
    WithElementType(dlg.m_nDataType, [&dlg](auto element) { BuildFromHostData<decltype(element)>(dlg); });
}
