// What the processor offers beyond the x86-64 baseline the library is built for.
//
// Functions: CpuHasAvx2, CpuHasFma, CpuHasAvx512
#pragma once

// True when AVX2 (FMA, AVX-512F) code may run here, checked once. The fast paths
// that use them are compiled per function, so the library still runs on any
// x86-64.
bool CpuHasAvx2();
bool CpuHasFma();
bool CpuHasAvx512();
