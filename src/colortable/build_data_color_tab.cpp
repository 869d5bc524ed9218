// The data colour table for the host: value-indexed for 8- and 16-bit
// integer data, a ramp of 256 entries for every other datatype.
#include "../dialog/color_dlg.h"
#include "kernels/fill_color_tab.h"

using namespace qorcolor::colortable;

int CColorDlgBase::BuildDataColorTab(unsigned int* table) {
    if (table == nullptr) return kNoHostTable;
    const Stretch stretch = MakeStretch(m_param);
    if (const auto shape = ValueIndexedShapeOf(m_nDataType)) {
        FillValueIndexed(stretch, table, *shape, m_param.dMinThr, m_param.dMaxThr);
        return 1;
    }
    FillRamp(stretch, table, kRampEntries);
    return 0;
}
