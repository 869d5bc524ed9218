// The data colour table together with the numbers a host needs to apply it.
#include "../dialog/color_dlg.h"
#include "kernels/fill_color_tab.h"

using namespace qorcolor::colortable;

void CColorDlgBase::ReportRange(double& minThr, double& maxThr, double& dataMin, double& dataMax) const {
    minThr = m_param.dMinThr;
    maxThr = m_param.dMaxThr;
    dataMin = m_param.dDataMin;
    dataMax = m_param.dDataMax;
}

int CColorDlgBase::BuildDataColorTabEx(unsigned int* table, int& count, double& minThr, double& maxThr,
                                       double& dataMin, double& dataMax) {
    ReportRange(minThr, maxThr, dataMin, dataMax);
    if (table == nullptr) return kNoHostTable;
    const Stretch stretch = MakeStretch(m_param);
    if (const auto shape = ValueIndexedShapeOf(m_nDataType)) {
        count = shape->entries;
        FillValueIndexed(stretch, table, *shape, m_param.dMinThr, m_param.dMaxThr);
        return 1;
    }
    if (count < 1) count = kRampEntries;
    FillRamp(stretch, table, count);
    return 0;
}
