#include "cpu_features.h"

bool CpuHasAvx2() {
#if defined(__x86_64__) || defined(__i386__)
    static const bool usable = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return usable;
#else
    return false;
#endif
}
