// AVX-512 bins of the 32-bit and floating kernels: the rule of Bins4 in
// wide_avx2.cpp, eight doubles at a time. Compiled for the baseline
// instruction set; these functions run only when the processor has AVX-512F.
#include "../../common/cpu_features.h"
#include "wide_vectors.h"

#if QC_X86_KERNELS

// GCC 12's AVX-512 headers start some results from a deliberately undefined
// register, which its own uninitialised-use check then reports.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include <immintrin.h>

#include <cfloat>
#include <cstdint>
#include <type_traits>

#define QC_AVX512 QC_TARGET_AVX512
#define QC_VECTOR_TARGET QC_AVX512
#include "wide_vector_loops.h"

namespace qorcolor::histogram {
namespace {

struct BinConsts8 {
    __m512d inv, w, minusHalfW, cap, one, left;
};

template <class T>
QC_AVX512 inline BinConsts8 MakeBinConsts8(const BinGrid<T>& g) {
    return {_mm512_set1_pd(g.inv),      _mm512_set1_pd(g.w),
            _mm512_set1_pd(-0.5 * g.w), _mm512_set1_pd(double(g.nBins - 1)),
            _mm512_set1_pd(1.0),        _mm512_set1_pd(double(g.nBins))};
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

// Bins of sixteen voxels at a time, for each element type.
template <class T>
struct Binner16;

template <>
struct Binner16<float> {
    static constexpr size_t kVoxels = 16;
    BinConsts8 c;
    __m512 lo;

    QC_AVX512 explicit Binner16(const BinGrid<float>& g) : c(MakeBinConsts8(g)), lo(_mm512_set1_ps(g.lo)) {}

    QC_AVX512 void operator()(const float* p, int32_t* out) const {
        const __m512 v = _mm512_loadu_ps(p);
        const __mmask16 left = NotFinite(v);
        const __m512 d = _mm512_sub_ps(v, lo);
        Store16(out, Bins8(_mm512_cvtps_pd(_mm512_castps512_ps256(d)), __mmask8(left), c),
                Bins8(_mm512_cvtps_pd(HighHalf(d)), __mmask8(left >> 8), c));
    }
};

template <>
struct Binner16<double> {
    static constexpr size_t kVoxels = 16;
    BinConsts8 c;
    __m512d lo;

    QC_AVX512 explicit Binner16(const BinGrid<double>& g) : c(MakeBinConsts8(g)), lo(_mm512_set1_pd(g.lo)) {}

    QC_AVX512 __m256i Eight(const double* p) const {
        const __m512d v = _mm512_loadu_pd(p);
        return Bins8(_mm512_sub_pd(v, lo), NotFinite(v), c);
    }
    QC_AVX512 void operator()(const double* p, int32_t* out) const { Store16(out, Eight(p), Eight(p + 8)); }
};

// 32-bit integers, unsigned ones biased into signed range as IntBinner8 does.
template <class T>
struct IntBinner16 {
    static constexpr size_t kVoxels = 16;
    static constexpr bool kBias = std::is_unsigned_v<T>;
    BinConsts8 c;
    __m512d lo;
    __m512i flip;

    QC_AVX512 explicit IntBinner16(const BinGrid<T>& g)
        : c(MakeBinConsts8(g)),
          lo(_mm512_set1_pd(double(g.lo) - (kBias ? kUnsignedBias : 0.0))),
          flip(_mm512_set1_epi32(kBias ? INT32_MIN : 0)) {}

    QC_AVX512 __m256i Eight(__m256i v) const { return Bins8(_mm512_sub_pd(_mm512_cvtepi32_pd(v), lo), 0, c); }
    QC_AVX512 void operator()(const T* p, int32_t* out) const {
        const __m512i v = _mm512_xor_si512(_mm512_loadu_si512(p), flip);
        Store16(out, Eight(_mm512_castsi512_si256(v)), Eight(_mm512_extracti64x4_epi64(v, 1)));
    }
};
template <>
struct Binner16<int32_t> : IntBinner16<int32_t> {
    using IntBinner16::IntBinner16;
};
template <>
struct Binner16<uint32_t> : IntBinner16<uint32_t> {
    using IntBinner16::IntBinner16;
};

}  // namespace

#define QC_AVX512_BINS(T)                                                                           \
    template <>                                                                                     \
    QC_AVX512 void Avx512Bins(const T* p, size_t n, const BinGrid<T>& g, int32_t* idx) {            \
        StoreBins(Binner16<T>(g), p, n, g, idx);                                                    \
    }                                                                                               \
    template <>                                                                                     \
    QC_AVX512 void Avx512CountBins(const VoxelRuns<T>& runs, const BinGrid<T>& g, SubCounts& sub) { \
        CountAhead(Binner16<T>(g), runs, g, sub);                                                   \
    }
QC_AVX512_BINS(float)
QC_AVX512_BINS(double)
QC_AVX512_BINS(int32_t)
QC_AVX512_BINS(uint32_t)

}  // namespace qorcolor::histogram

#endif
