// The Win32 API as the framework layer uses it: the real one on Windows, the
// portable window system's implementation of the same subset elsewhere.
// Everything above this header is backend independent.
#pragma once

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commdlg.h>
// The two point-unpacking macros of <windowsx.h>, without the rest of it.
#ifndef GET_X_LPARAM
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#endif
#else
#include "portable/win32_subset.h"
#endif
