// What the processor offers beyond the x86-64 baseline the library is built
// for, the one definition of each instruction-set gate the kernels use, and
// the one way of choosing among a kernel's forms.
//
// Functions: CpuHasAvx2, CpuHasFma, CpuHasAvx512, WidestInstructionSet, PickKernel
// Enums: InstructionSet
// Macros: QC_X86_KERNELS, QC_X86_KERNEL, QC_TARGET_AVX2, QC_TARGET_AVX2_FMA, QC_TARGET_AVX512
#pragma once

#include <type_traits>

// 1 where the x86 forms of the kernels are compiled (an x86 target and a
// compiler with per-function targets), 0 elsewhere.
#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define QC_X86_KERNELS 1
#else
#define QC_X86_KERNELS 0
#endif

// An x86 form's address where those forms are compiled, null elsewhere, for
// PickKernel.
#if QC_X86_KERNELS
#define QC_X86_KERNEL(fn) (fn)
#else
#define QC_X86_KERNEL(fn) nullptr
#endif

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

// The instruction sets a kernel comes in, narrowest first. Avx2 is AVX2 with
// FMA; Avx512 is AVX-512F on top of both.
enum class InstructionSet { Baseline, Avx2, Avx512 };

// The widest instruction set this processor runs, at most `limit`.
InstructionSet WidestInstructionSet(InstructionSet limit = InstructionSet::Avx512);

// The form for the widest instruction set, at most `limit`, that this
// processor runs and that the kernel has (a null form is skipped).
template <class Fn>
Fn PickKernel(InstructionSet limit, Fn baseline, std::type_identity_t<Fn> avx2,
              std::type_identity_t<Fn> avx512 = nullptr) {
    const InstructionSet widest = WidestInstructionSet(limit);
    if (widest >= InstructionSet::Avx512 && avx512) return avx512;
    if (widest >= InstructionSet::Avx2 && avx2) return avx2;
    return baseline;
}
