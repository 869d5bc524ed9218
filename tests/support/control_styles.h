// Window styles of the controls in the framework tests' own templates.
//
// Constants: kChildStyle, kEditStyle, kCheckStyle
#pragma once

#include <cstdint>

#include "framework/win_api.h"

inline constexpr uint32_t kChildStyle = WS_CHILD | WS_VISIBLE;
inline constexpr uint32_t kEditStyle = kChildStyle | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
inline constexpr uint32_t kCheckStyle = kChildStyle | WS_TABSTOP | BS_AUTOCHECKBOX;
