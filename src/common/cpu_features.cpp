#include "cpu_features.h"

#if defined(__x86_64__) || defined(__i386__)
#define QC_CPU_SUPPORTS(feature)                     \
    [] {                                             \
        __builtin_cpu_init();                        \
        return __builtin_cpu_supports(feature) != 0; \
    }()
#else
#define QC_CPU_SUPPORTS(feature) false
#endif

bool CpuHasAvx2() {
    static const bool usable = QC_CPU_SUPPORTS("avx2");
    return usable;
}

bool CpuHasFma() {
    static const bool usable = QC_CPU_SUPPORTS("fma");
    return usable;
}

bool CpuHasAvx512() {
    static const bool usable = QC_CPU_SUPPORTS("avx512f");
    return usable;
}

InstructionSet WidestInstructionSet(InstructionSet limit) {
    if (limit == InstructionSet::Baseline || !CpuHasAvx2() || !CpuHasFma()) return InstructionSet::Baseline;
    return limit == InstructionSet::Avx512 && CpuHasAvx512() ? InstructionSet::Avx512 : InstructionSet::Avx2;
}
