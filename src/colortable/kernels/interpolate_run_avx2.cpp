// The AVX2 form of the value-indexed tables' loop. Compiled for the baseline
// instruction set; only these functions use AVX2, and they run only when
// PickKernel picks them.
#include "interpolate_run.h"

#if QC_X86_KERNELS

#include <immintrin.h>

#define QC_AVX2 QC_TARGET_AVX2

namespace qorcolor::colortable {

namespace {

QC_AVX2 inline __m256d BytesOf(unsigned int entry) {
    return _mm256_cvtepi32_pd(_mm_cvtepu8_epi32(_mm_cvtsi32_si128(static_cast<int>(entry))));
}

// Mix, four bytes at once; the packs saturate into 0..255 as its clamp does.
QC_AVX2 inline unsigned int Mix4(const Neighbours& n) {
    const __m256d v = _mm256_add_pd(_mm256_mul_pd(BytesOf(n.a), _mm256_set1_pd(1.0 - n.f)),
                                    _mm256_mul_pd(BytesOf(n.b), _mm256_set1_pd(n.f)));
    const __m128i ints = _mm256_cvttpd_epi32(v);
    const __m128i words = _mm_packs_epi32(ints, ints);
    return static_cast<unsigned int>(_mm_cvtsi128_si32(_mm_packus_epi16(words, words)));
}

}  // namespace

QC_AVX2 void InterpolateRunAvx2(const Stretch& s, unsigned int* table, int64_t begin, int64_t end,
                                double fromLo, double step) {
    for (int64_t i = begin; i < end; ++i, fromLo += 1.0) table[i] = Mix4(Locate(s, fromLo * step));
}

}  // namespace qorcolor::colortable

#endif
