// A ramp over the stretch with the alpha curve multiplied into each alpha
// byte, whatever the datatype.
#include <algorithm>

#include "../dialog/color_dlg.h"
#include "kernels/interpolate.h"

using namespace qorcolor::colortable;

namespace {

// The alpha curve as far as it is allocated; a flat 1.0 where there is none.
struct AlphaCurve {
    const float* alpha;
    int last;
};

AlphaCurve CurveOf(const float* alpha, int maxIndex) {
    static const float kFlat[1] = {1.0f};
    if (alpha == nullptr || maxIndex < 0) return {kFlat, 0};
    return {alpha, maxIndex};
}

}  // namespace

int CColorDlgBase::SampleColorTabAlpha(unsigned int* table, int& count, double& minThr, double& maxThr,
                                       double& dataMin, double& dataMax) {
    if (count < 1) return 0;
    ReportRange(minThr, maxThr, dataMin, dataMax);
    if (table == nullptr) return kNoHostTable;

    const Stretch s = MakeStretch(m_param);
    const AlphaCurve curve = CurveOf(m_pAlpha, m_nMaxIndex);
    // A single entry is sampled at the stretch's start on both scales.
    const int gaps = count - 1;
    const double step = gaps > 0 ? s.span / static_cast<double>(gaps) : 0.0;
    const double alphaStep = gaps > 0 ? (m_param.nMaxIndex - 1.0) / gaps : 0.0;
    for (int i = 0; i < count; ++i) {
        const Neighbours n = Locate(s, i * step);
        // The curve is walked over its whole length but weighted with the
        // colour position's fraction; its upper neighbour is dropped where
        // j has reached the colour span.
        const int j = TruncClamped(i * alphaStep, 0, curve.last);
        const int j2 = j >= s.span ? j : std::min(j + 1, curve.last);
        const double alpha = static_cast<double>(curve.alpha[j2]) * n.f * (n.b >> 24) +
                             static_cast<double>(curve.alpha[j]) * (1.0 - n.f) * (n.a >> 24);
        table[i] = (Mix(n) & 0x00FFFFFFu) | TruncByte(alpha) << 24;
    }
    // Tells a written table apart from a refused count (0) and a missing table.
    return 1;
}
