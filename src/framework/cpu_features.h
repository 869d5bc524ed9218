// What the processor offers beyond the x86-64 baseline the library is built for.
//
// Functions: CpuHasAvx2
#pragma once

// True when AVX2 code may run here (checked once). The fast paths that use it
// are compiled per function, so the library still runs on any x86-64.
bool CpuHasAvx2();
