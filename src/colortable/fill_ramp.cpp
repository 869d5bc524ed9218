// A ramp of evenly spaced samples over the stretch.
#include "fill_color_tab.h"

namespace qorcolor::colortable {

void FillRamp(const Stretch& stretch, unsigned int* table, int count) {
    const Stretch s = stretch;  // a local copy: writes to the table cannot alias it
    const double step = count > 1 ? s.span / static_cast<double>(count - 1) : 0.0;
    for (int i = 0; i < count; ++i) table[i] = Mix(Locate(s, i * step));
}

}  // namespace qorcolor::colortable
