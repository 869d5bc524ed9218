// What the processor offers beyond the x86-64 baseline the library is built
// for, and the one definition of each instruction-set gate the kernels use.
//
// Functions: CpuHasAvx2, CpuHasFma, CpuHasAvx512
// Macros: QC_TARGET_AVX2, QC_TARGET_AVX2_FMA, QC_TARGET_AVX512
#pragma once

// A function marked with a gate is compiled for that instruction set alone;
// it may only run after the matching CpuHas... check.
#define QC_TARGET_AVX2 __attribute__((target("avx2")))
#define QC_TARGET_AVX2_FMA __attribute__((target("avx2,fma")))
#define QC_TARGET_AVX512 __attribute__((target("avx512f")))

// True when AVX2 (FMA, AVX-512F) code may run here, checked once. The fast paths
// that use them are compiled per function, so the library still runs on any
// x86-64.
bool CpuHasAvx2();
bool CpuHasFma();
bool CpuHasAvx512();
