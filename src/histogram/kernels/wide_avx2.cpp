// AVX2 inner loops of the 32-bit and floating kernels. Compiled for the
// baseline instruction set; only these functions use AVX2 and FMA, and they
// run only when the processor has both.
//
// [SECTION] Widths the vector bins take
// [SECTION] Four bins without dividing
// [SECTION] Binners of each element type
// [SECTION] Bins and counts
// [SECTION] Range pass of floating data
// [SECTION] Range pass of 32-bit integers
#include "../../common/cpu_features.h"
#include "wide_vectors.h"

#if QC_X86_KERNELS

#include <immintrin.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#define QC_AVX2 QC_TARGET_AVX2_FMA
#define QC_VECTOR_TARGET QC_AVX2
#include "wide_vector_loops.h"

namespace qorcolor::histogram {

// [SECTION] Widths the vector bins take

bool VectorBinsExact(double w) {
    // Keeps 1 / w and w * 2^-64 normal, which the error bounds of Bins4 assume.
    const double inv = 1.0 / w;
    return std::isnormal(w) && w > 0x1p-960 && std::isnormal(inv);
}

namespace {

// [SECTION] Four bins without dividing

struct BinConsts {
    __m256d inv, w, minusHalfW, cap, one, left;
};

template <class T>
QC_AVX2 inline BinConsts MakeBinConsts(const BinGrid<T>& g) {
    return {_mm256_set1_pd(g.inv),      _mm256_set1_pd(g.w),
            _mm256_set1_pd(-0.5 * g.w), _mm256_set1_pd(double(g.nBins - 1)),
            _mm256_set1_pd(1.0),        _mm256_set1_pd(double(g.nBins))};
}

// Four bins from four distances d >= 0: trunc(fl(d / w)) capped at the last
// bin, without dividing.
//
// q = d * (1 / w) is within a few ulps of d / w, so the integer m nearest q
// has d / w in (m - 1, m + 1), and the bin is m or m - 1: m exactly when the
// rounded quotient reaches m. That happens when d / w >= m - u / 2, with u
// the spacing of doubles just below m (the halfway case rounds to m, whose
// last significand bit is 0). r = d - m * w is exact in one FMA (it is a
// multiple of w's last bit and smaller than w), and so is u / 2 * w, which
// makes the test exact. m = 0 gives u = NaN and bin 0; a quotient that is
// too large or infinite ends at the cap, as BinOf does.
QC_AVX2 inline __m256d Bins4(__m256d d, const BinConsts& c) {
    const __m256d m = _mm256_round_pd(_mm256_mul_pd(d, c.inv), _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
    const __m256d r = _mm256_fnmadd_pd(m, c.w, d);
    const __m256d beforeM =
        _mm256_castsi256_pd(_mm256_sub_epi64(_mm256_castpd_si256(m), _mm256_set1_epi64x(1)));
    const __m256d u = _mm256_sub_pd(m, beforeM);
    const __m256d roundsBelowM = _mm256_cmp_pd(r, _mm256_mul_pd(u, c.minusHalfW), _CMP_LT_OQ);
    return _mm256_min_pd(_mm256_sub_pd(m, _mm256_and_pd(roundsBelowM, c.one)), c.cap);
}

QC_AVX2 inline void Store8(int32_t* idx, __m256d q0, __m256d q1) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(idx),
                        _mm256_set_m128i(_mm256_cvttpd_epi32(q1), _mm256_cvttpd_epi32(q0)));
}

// [SECTION] Binners of each element type

// Bins of eight voxels at a time, for each element type: the distance from
// lo as the type forms it, widened to double, through Bins4.
template <class T>
struct Binner8;

template <>
struct Binner8<float> {
    static constexpr size_t kVoxels = 8;
    BinConsts c;
    __m256 lo, absMask, fmax;

    QC_AVX2 explicit Binner8(const BinGrid<float>& g)
        : c(MakeBinConsts(g)),
          lo(_mm256_set1_ps(g.lo)),
          absMask(_mm256_castsi256_ps(_mm256_set1_epi32(INT32_MAX))),
          fmax(_mm256_set1_ps(FLT_MAX)) {}

    QC_AVX2 void operator()(const float* p, int32_t* out) const {
        const __m256 v = _mm256_loadu_ps(p);
        const __m256 left = _mm256_cmp_ps(_mm256_and_ps(v, absMask), fmax, _CMP_NLE_UQ);
        const __m256 d = _mm256_sub_ps(v, lo);
        // Widening keeps the sign bit of each all-ones or zero mask lane,
        // which is all that blendv reads.
        const __m256d q0 = _mm256_blendv_pd(Bins4(_mm256_cvtps_pd(_mm256_castps256_ps128(d)), c), c.left,
                                            _mm256_cvtps_pd(_mm256_castps256_ps128(left)));
        const __m256d q1 = _mm256_blendv_pd(Bins4(_mm256_cvtps_pd(_mm256_extractf128_ps(d, 1)), c), c.left,
                                            _mm256_cvtps_pd(_mm256_extractf128_ps(left, 1)));
        Store8(out, q0, q1);
    }
};

template <>
struct Binner8<double> {
    static constexpr size_t kVoxels = 8;
    BinConsts c;
    __m256d lo, absMask, fmax;

    QC_AVX2 explicit Binner8(const BinGrid<double>& g)
        : c(MakeBinConsts(g)),
          lo(_mm256_set1_pd(g.lo)),
          absMask(_mm256_castsi256_pd(_mm256_set1_epi64x(INT64_MAX))),
          fmax(_mm256_set1_pd(DBL_MAX)) {}

    QC_AVX2 __m256d Four(const double* p) const {
        const __m256d v = _mm256_loadu_pd(p);
        const __m256d left = _mm256_cmp_pd(_mm256_and_pd(v, absMask), fmax, _CMP_NLE_UQ);
        return _mm256_blendv_pd(Bins4(_mm256_sub_pd(v, lo), c), c.left, left);
    }
    QC_AVX2 void operator()(const double* p, int32_t* out) const { Store8(out, Four(p), Four(p + 4)); }
};

// 32-bit integers: v - lo is exact in double. Unsigned voxels are biased
// into signed range first: v = (v ^ 2^31) as signed + 2^31, so the distance
// is signed - (lo - 2^31), exactly.
template <class T>
struct IntBinner8 {
    static constexpr size_t kVoxels = 8;
    static constexpr bool kBias = std::is_unsigned_v<T>;
    BinConsts c;
    __m256d lo;
    __m256i flip;

    QC_AVX2 explicit IntBinner8(const BinGrid<T>& g)
        : c(MakeBinConsts(g)),
          lo(_mm256_set1_pd(double(g.lo) - (kBias ? kUnsignedBias : 0.0))),
          flip(_mm256_set1_epi32(kBias ? INT32_MIN : 0)) {}

    QC_AVX2 void operator()(const T* p, int32_t* out) const {
        const __m256i v = _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), flip);
        const __m256d q0 = Bins4(_mm256_sub_pd(_mm256_cvtepi32_pd(_mm256_castsi256_si128(v)), lo), c);
        const __m256d q1 = Bins4(_mm256_sub_pd(_mm256_cvtepi32_pd(_mm256_extracti128_si256(v, 1)), lo), c);
        Store8(out, q0, q1);
    }
};
template <>
struct Binner8<int32_t> : IntBinner8<int32_t> {
    using IntBinner8::IntBinner8;
};
template <>
struct Binner8<uint32_t> : IntBinner8<uint32_t> {
    using IntBinner8::IntBinner8;
};

}  // namespace

// [SECTION] Bins and counts

#define QC_AVX2_BINS(T)                                                                         \
    template <>                                                                                 \
    QC_AVX2 void Avx2Bins(const T* p, size_t n, const BinGrid<T>& g, int32_t* idx) {            \
        StoreBins(Binner8<T>(g), p, n, g, idx);                                                 \
    }                                                                                           \
    template <>                                                                                 \
    QC_AVX2 void Avx2CountBins(const VoxelRuns<T>& runs, const BinGrid<T>& g, SubCounts& sub) { \
        CountAhead(Binner8<T>(g), runs, g, sub);                                                \
    }
QC_AVX2_BINS(float)
QC_AVX2_BINS(double)
QC_AVX2_BINS(int32_t)
QC_AVX2_BINS(uint32_t)

// [SECTION] Range pass of floating data

// The AVX2 operations of the range pass, on 8 floats or 4 doubles.
template <class T>
struct RangeLanes;

template <>
struct RangeLanes<float> {
    using V = __m256;
    static constexpr size_t kCount = 8;
    static QC_AVX2 V Set(float x) { return _mm256_set1_ps(x); }
    static QC_AVX2 V Load(const float* p) { return _mm256_loadu_ps(p); }
    static QC_AVX2 V Finite(V v) {
        const V abs = _mm256_and_ps(v, _mm256_castsi256_ps(_mm256_set1_epi32(INT32_MAX)));
        return _mm256_cmp_ps(abs, Set(FLT_MAX), _CMP_LE_OQ);
    }
    static QC_AVX2 V Pick(V no, V yes, V mask) { return _mm256_blendv_ps(no, yes, mask); }
    static QC_AVX2 V Min(V a, V b) { return _mm256_min_ps(a, b); }
    static QC_AVX2 V Max(V a, V b) { return _mm256_max_ps(a, b); }
    static QC_AVX2 void Store(float* p, V v) { _mm256_store_ps(p, v); }
};

template <>
struct RangeLanes<double> {
    using V = __m256d;
    static constexpr size_t kCount = 4;
    static QC_AVX2 V Set(double x) { return _mm256_set1_pd(x); }
    static QC_AVX2 V Load(const double* p) { return _mm256_loadu_pd(p); }
    static QC_AVX2 V Finite(V v) {
        const V abs = _mm256_and_pd(v, _mm256_castsi256_pd(_mm256_set1_epi64x(INT64_MAX)));
        return _mm256_cmp_pd(abs, Set(DBL_MAX), _CMP_LE_OQ);
    }
    static QC_AVX2 V Pick(V no, V yes, V mask) { return _mm256_blendv_pd(no, yes, mask); }
    static QC_AVX2 V Min(V a, V b) { return _mm256_min_pd(a, b); }
    static QC_AVX2 V Max(V a, V b) { return _mm256_max_pd(a, b); }
    static QC_AVX2 void Store(double* p, V v) { _mm256_store_pd(p, v); }
};

// Lowest and highest finite value, two vectors a step; a lane that saw no
// finite value keeps its infinity and is left out at the end.
template <class T>
QC_AVX2 Extremes<T> RangePass(const T* p, size_t n) {
    using L = RangeLanes<T>;
    constexpr size_t k = L::kCount;
    const typename L::V pinf = L::Set(INFINITY), ninf = L::Set(-INFINITY);
    typename L::V mn0 = pinf, mn1 = pinf, mx0 = ninf, mx1 = ninf;
    size_t i = 0;
    for (; i + 2 * k <= n; i += 2 * k) {
        const typename L::V v0 = L::Load(p + i), v1 = L::Load(p + i + k);
        const typename L::V f0 = L::Finite(v0), f1 = L::Finite(v1);
        mn0 = L::Min(mn0, L::Pick(pinf, v0, f0));
        mx0 = L::Max(mx0, L::Pick(ninf, v0, f0));
        mn1 = L::Min(mn1, L::Pick(pinf, v1, f1));
        mx1 = L::Max(mx1, L::Pick(ninf, v1, f1));
    }
    alignas(32) T lows[k], highs[k];
    L::Store(lows, L::Min(mn0, mn1));
    L::Store(highs, L::Max(mx0, mx1));
    constexpr T top = std::numeric_limits<T>::max();
    Extremes<T> e;
    for (size_t j = 0; j < k; ++j) {
        if (lows[j] <= top) e.Add(lows[j]);
        if (highs[j] >= -top) e.Add(highs[j]);
    }
    e.Merge(ScalarExtremes(p + i, n - i));
    return e;
}

template <>
QC_AVX2 Extremes<float> Avx2Extremes(const float* p, size_t n) {
    return RangePass(p, n);
}

template <>
QC_AVX2 Extremes<double> Avx2Extremes(const double* p, size_t n) {
    return RangePass(p, n);
}

namespace {

// [SECTION] Range pass of 32-bit integers

// 32-bit integers, compared as signed: unsigned voxels are biased into
// signed range first (v ^ 2^31 keeps their order) and the extremes biased
// back.
template <class T>
QC_AVX2 Extremes<T> IntExtremes(const T* p, size_t n) {
    const __m256i flip = _mm256_set1_epi32(std::is_unsigned_v<T> ? INT32_MIN : 0);
    __m256i mn = _mm256_set1_epi32(INT32_MAX), mx = _mm256_set1_epi32(INT32_MIN);
    __m256i mn1 = mn, mx1 = mx;
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m256i v0 =
            _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i)), flip);
        const __m256i v1 =
            _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i + 8)), flip);
        mn = _mm256_min_epi32(mn, v0);
        mx = _mm256_max_epi32(mx, v0);
        mn1 = _mm256_min_epi32(mn1, v1);
        mx1 = _mm256_max_epi32(mx1, v1);
    }
    alignas(32) T lows[8], highs[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lows), _mm256_xor_si256(_mm256_min_epi32(mn, mn1), flip));
    _mm256_store_si256(reinterpret_cast<__m256i*>(highs), _mm256_xor_si256(_mm256_max_epi32(mx, mx1), flip));
    Extremes<T> e;
    if (i > 0)
        for (int k = 0; k < 8; ++k) e.Add(lows[k]), e.Add(highs[k]);
    e.Merge(ScalarExtremes(p + i, n - i));
    return e;
}

}  // namespace

template <>
QC_AVX2 Extremes<int32_t> Avx2Extremes(const int32_t* p, size_t n) {
    return IntExtremes(p, n);
}

template <>
QC_AVX2 Extremes<uint32_t> Avx2Extremes(const uint32_t* p, size_t n) {
    return IntExtremes(p, n);
}

}  // namespace qorcolor::histogram

#endif
