// Rebuilds the histogram when it was marked invalid, from the host's flat
// buffer, its slice pointers, or, with no data, the demonstration.
#include <cstdint>

#include "datatype_codes.h"
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
    using namespace qorcolor::histogram;
    if (m_bHistValid) return;
    m_bHistValid = 1;
    m_nHistPeak = 0;
    if (!m_pVolume && !m_pFlatData) {
        MakeDemoHistogram();
        return;
    }
    switch (m_nDataType) {
        case kUInt8:
            BuildFromHostData<uint8_t>(*this);
            break;
        case kInt8:
            BuildFromHostData<int8_t>(*this);
            break;
        case kInt16:
            BuildFromHostData<int16_t>(*this);
            break;
        case kUInt16:
            BuildFromHostData<uint16_t>(*this);
            break;
        case kInt32:
            BuildFromHostData<int32_t>(*this);
            break;
        case kUInt32:
            BuildFromHostData<uint32_t>(*this);
            break;
        case kFloat32:
            BuildFromHostData<float>(*this);
            break;
        case kFloat64:
            BuildFromHostData<double>(*this);
            break;
        default:
            break;  // unsupported: the previous histogram stays
    }
}
