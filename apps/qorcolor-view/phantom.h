// The volume the viewer shows when it is given no file.
//
// Functions: MakePhantom
#pragma once

#include "nifti.h"

namespace qview {

// A signed 16-bit head-like phantom: scalp, skull, cerebrospinal fluid, grey
// and white matter, two ventricles and a bright lesion, with a little noise.
// The same on every platform and run.
nifti::Volume MakePhantom();

}  // namespace qview
