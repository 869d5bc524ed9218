// AVX-512 bins of the 32-bit and floating kernels: the rule of Bins4 in
// wide_avx2.cpp, eight doubles at a time. Compiled for the baseline
// instruction set; these functions run only when the processor has AVX-512F.
#include "wide_vectors.h"

#if QORCOLOR_HISTOGRAM_VECTORS

// GCC 12's AVX-512 headers start some results from a deliberately undefined
// register, which its own uninitialised-use check then reports.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <immintrin.h>

#include <cfloat>
#include <cstdint>

#define QC_AVX512 __attribute__((target("avx512f")))

namespace qorcolor::histogram {
namespace {

struct BinConsts8 {
    __m512d inv, w, minusHalfW, cap, one, left;
};

QC_AVX512 inline BinConsts8 MakeBinConsts8(double w, int nBins) {
    return {_mm512_set1_pd(1.0 / w),           _mm512_set1_pd(w),   _mm512_set1_pd(-0.5 * w),
            _mm512_set1_pd(double(nBins - 1)), _mm512_set1_pd(1.0), _mm512_set1_pd(double(nBins))};
}

// Eight bins from eight distances d >= 0, voxels flagged in `left` going to
// the slot past the last bin. See Bins4 for why the result is exact.
QC_AVX512 inline __m256i Bins8(__m512d d, __mmask8 left, const BinConsts8& c) {
    const __m512d m =
        _mm512_roundscale_pd(_mm512_mul_pd(d, c.inv), _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    const __m512d r = _mm512_fnmadd_pd(m, c.w, d);
    const __m512d beforeM =
        _mm512_castsi512_pd(_mm512_sub_epi64(_mm512_castpd_si512(m), _mm512_set1_epi64(1)));
    const __m512d u = _mm512_sub_pd(m, beforeM);
    const __mmask8 roundsBelowM = _mm512_cmp_pd_mask(r, _mm512_mul_pd(u, c.minusHalfW), _CMP_LT_OQ);
    const __m512d bin = _mm512_min_pd(_mm512_mask_sub_pd(m, roundsBelowM, m, c.one), c.cap);
    return _mm512_cvttpd_epi32(_mm512_mask_mov_pd(bin, left, c.left));
}

QC_AVX512 inline void Store16(int32_t* idx, __m256i low, __m256i high) {
    _mm512_storeu_si512(idx, _mm512_inserti64x4(_mm512_castsi256_si512(low), high, 1));
}

// Non-finite voxels, which are left out.
QC_AVX512 inline __mmask16 NotFinite(__m512 v) {
    return _mm512_cmp_ps_mask(_mm512_abs_ps(v), _mm512_set1_ps(FLT_MAX), _CMP_NLE_UQ);
}
QC_AVX512 inline __mmask8 NotFinite(__m512d v) {
    return _mm512_cmp_pd_mask(_mm512_abs_pd(v), _mm512_set1_pd(DBL_MAX), _CMP_NLE_UQ);
}

QC_AVX512 inline __m256 HighHalf(__m512 v) {
    return _mm256_castpd_ps(_mm512_extractf64x4_pd(_mm512_castps_pd(v), 1));
}

// Distances of eight 32-bit integers from lo, given as lo - bias where the
// voxels were biased into signed range.
QC_AVX512 inline __m512d IntDiffs(__m256i v, __m512d lo) { return _mm512_sub_pd(_mm512_cvtepi32_pd(v), lo); }

}  // namespace

template <>
QC_AVX512 void Avx512Bins(const float* p, size_t n, float lo, double w, int nBins, int32_t* idx) {
    const BinConsts8 c = MakeBinConsts8(w, nBins);
    const __m512 lo16 = _mm512_set1_ps(lo);
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512 v = _mm512_loadu_ps(p + i);
        const __mmask16 left = NotFinite(v);
        const __m512 d = _mm512_sub_ps(v, lo16);
        Store16(idx + i, Bins8(_mm512_cvtps_pd(_mm512_castps512_ps256(d)), __mmask8(left), c),
                Bins8(_mm512_cvtps_pd(HighHalf(d)), __mmask8(left >> 8), c));
    }
    ScalarBins(p + i, n - i, lo, w, nBins, idx + i);
}

template <>
QC_AVX512 void Avx512Bins(const double* p, size_t n, double lo, double w, int nBins, int32_t* idx) {
    const BinConsts8 c = MakeBinConsts8(w, nBins);
    const __m512d lo8 = _mm512_set1_pd(lo);
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512d v0 = _mm512_loadu_pd(p + i), v1 = _mm512_loadu_pd(p + i + 8);
        Store16(idx + i, Bins8(_mm512_sub_pd(v0, lo8), NotFinite(v0), c),
                Bins8(_mm512_sub_pd(v1, lo8), NotFinite(v1), c));
    }
    ScalarBins(p + i, n - i, lo, w, nBins, idx + i);
}

template <>
QC_AVX512 void Avx512Bins(const int32_t* p, size_t n, int32_t lo, double w, int nBins, int32_t* idx) {
    const BinConsts8 c = MakeBinConsts8(w, nBins);
    const __m512d lo8 = _mm512_set1_pd(double(lo));
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i v = _mm512_loadu_si512(p + i);
        Store16(idx + i, Bins8(IntDiffs(_mm512_castsi512_si256(v), lo8), 0, c),
                Bins8(IntDiffs(_mm512_extracti64x4_epi64(v, 1), lo8), 0, c));
    }
    ScalarBins(p + i, n - i, lo, w, nBins, idx + i);
}

template <>
QC_AVX512 void Avx512Bins(const uint32_t* p, size_t n, uint32_t lo, double w, int nBins, int32_t* idx) {
    const BinConsts8 c = MakeBinConsts8(w, nBins);
    // v = (v ^ 2^31) as signed + 2^31, so d = signed - (lo - 2^31), exactly.
    const __m512d lo8 = _mm512_set1_pd(double(lo) - 2147483648.0);
    const __m512i flip = _mm512_set1_epi32(INT32_MIN);
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m512i v = _mm512_xor_si512(_mm512_loadu_si512(p + i), flip);
        Store16(idx + i, Bins8(IntDiffs(_mm512_castsi512_si256(v), lo8), 0, c),
                Bins8(IntDiffs(_mm512_extracti64x4_epi64(v, 1), lo8), 0, c));
    }
    ScalarBins(p + i, n - i, lo, w, nBins, idx + i);
}

}  // namespace qorcolor::histogram

#endif
