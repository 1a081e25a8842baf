// The whole fast-style file: the comment with the plan, the allocator
// macros, the complex type, revolver, the static parts and the three public
// transforms.
#include "codegen/fast/fast_file.h"

#include <string>

#include "codegen/fast/convolution.h"
#include "codegen/fast/fast_parts.h"

namespace {

const char* const kHeaders = R"(
#include <math.h>
#include <stdlib.h>
#include <string.h>

#ifndef FFT_MALLOC
#define FFT_MALLOC(bytes) malloc(bytes)
#endif
#ifndef FFT_FREE
#define FFT_FREE(ptr) free(ptr)
#endif

#if defined(__GNUC__) || defined(__clang__)
#define KV_RESTRICT __restrict__
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L
#define KV_RESTRICT restrict
#else
#define KV_RESTRICT
#endif

#if defined(__GNUC__) || defined(__clang__)
#define KV_INLINE __inline__ __attribute__((always_inline))
#elif defined(_MSC_VER)
#define KV_INLINE __forceinline
#elif defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L)
#define KV_INLINE inline
#else
#define KV_INLINE
#endif

/* A pass is kept out of gcc's interprocedural analysis. gcc 12.2 (at -O2 and
   -O3) clones a pass for the constant arguments of its calls, rewrites the
   clone's twiddle addresses as offsets from a null base and then takes those
   loads for null dereferences: it finds the clone free of side effects and
   deletes its calls. Seen with passes of radix 11 and 13. */
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 8
#define KV_PASS __attribute__((noipa))
#else
#define KV_PASS
#endif

typedef struct { @{real} re, im; } complex;

/* With clang and gcc from version 12 on the passes also have a loop over
   vectors of entries, in the compilers' vector extensions; KV_PORTABLE
   before this file's code, or any other compiler, leaves the plain C loops. */
#if (defined(__clang__) || (defined(__GNUC__) && __GNUC__ >= 12)) && !defined(KV_PORTABLE)
#define KV_VECTOR 1
#if defined(__AVX__)
#define KV_LANES @{lanes_avx}
#else
#define KV_LANES @{lanes_sse}
#endif
typedef @{real} kv_vec __attribute__((vector_size(KV_LANES * sizeof(@{real}))));
typedef struct { kv_vec re, im; } kv_vcomplex;
#endif
)";

// Every angle goes to the first octant, where cos and sin get a small
// argument, and comes back by an exact quarter turn and a sign. Single
// precision computes in double and rounds once.
const char* const kRevolver = R"(
/* pSinCosTable[i] = exp(-2 pi i / N) for i < N: cos(2 pi i / N), -sin(2 pi i / N). */
void revolver(long N, complex *pSinCosTable)
{
	const double n = (double)N;
	long i, o, q;
	double e, r, a, c, s, cq, sq;
	for (i = 0; i < N; i++) {
		/* 8 i / N = o + r / N: octant o, rest r (exact in double) */
		e = 8.0 * (double)i;
		o = (long)(e / n);
		r = e - (double)o * n;
		if (r < 0.0) { o--; r += n; }
		if (r >= n) { o++; r -= n; }
		/* an odd octant is measured back from the next quarter turn */
		if (o % 2 != 0) r = n - r;
		a = r * 0.78539816339744831 / n;
		c = cos(a);
		s = o % 2 != 0 ? -sin(a) : sin(a);
		q = ((o + 1) / 2) % 4;
		cq = q == 0 ? c : q == 1 ? -s : q == 2 ? -c : s;
		sq = q == 0 ? s : q == 1 ? c : q == 2 ? -s : -c;
		pSinCosTable[i].re = @{cast}cq;
		pSinCosTable[i].im = @{cast}-sq;
	}
}
)";

const char* const kFillNan = R"(
/* What an in-place call leaves when it cannot get its copy of the input. */
static void kv_fill_nan(complex *y)
{
	volatile @{real} zero = @{zero};
	@{real} not_a_number = zero / zero;
	long k;
	for (k = 0; k < @{len}; k++) {
		y[k].re = not_a_number;
		y[k].im = not_a_number;
	}
}
)";

std::string headerComment(const FastPlan& full, const FastPlan* half, int32_t n, const std::string& len,
                          Precision precision) {
    auto radices = [](const FastPlan& p) {
        std::string s = std::to_string(p.length) + " =";
        for (size_t i = 0; i < p.radix.size(); ++i) s += (i ? " x " : " ") + std::to_string(p.radix[i]);
        return s;
    };
    const int entry = precision == Precision::Single ? 8 : 16;
    const long long tableBytes = (long long)n * entry;
    std::string s = "/* FFT" + len + ".cpp: discrete Fourier transforms of length " + std::to_string(n) +
                    ", written by kalvorin\n   (fast style, " +
                    (precision == Precision::Single ? "single precision: float" : "double precision") + ").\n\n";
    s += "   revolver(" + std::to_string(n) + ", pSinCosTable) fills the table that every transform reads:\n";
    s += "   exp(-2 pi i k / N) for k < N, " + std::to_string(n) + " entries (" + std::to_string(tableBytes) +
         " bytes).\n";
    s += "   Complex_FFT" + len + " and Real_FFT" + len + " compute X[k] = sum over n of x[n] exp(-2 pi i n k / N);\n";
    s += "   Real_FFT" + len + " takes N reals and gives all N outputs. IFFT" + len +
         " computes the inverse,\n   divided by N. No transform modifies its input.\n\n";
    s += "   Plan: " + radices(full) + ", decimation in time. The radices are listed in the\n";
    s += "   order their passes run; the first pass reads the input at a stride, in\n";
    s += "   digit-reversed order, and writes the output; the others work in place on it.\n";
    if (full.blockedStages > 0)
        s += "   The first " + std::to_string(full.blockedStages) + " passes run block by block, " +
             std::to_string(full.blockLength) + " entries at a time.\n";
    if (half)
        s += "   Real_FFT" + len + " transforms the N/2 input pairs as complex numbers (" + radices(*half) +
             ")\n   and splits the result into the N outputs.\n";
    else
        s += "   Real_FFT" + len + " uses the same plan with a first pass that reads reals.\n";
    const int32_t leaf = full.radix[0], second = convolutionPassRadix(full);
    const bool convolution = usesConvolution(leaf);
    if (convolution)
        s += "   The prime " +
             (second == 0      ? "radix " + std::to_string(leaf) + " runs as a convolution"
              : second == leaf ? "radix " + std::to_string(leaf) + ", in both of its passes, runs as a convolution"
                               : "radices " + std::to_string(leaf) + " and " + std::to_string(second) + " run as convolutions") +
             " (Bluestein's algorithm) in work memory:\n"
             "   every call of Complex_FFT" + len + ", IFFT" + len + " and Real_FFT" + len + " takes " +
             std::to_string(planWorkBytes(full, precision)) +
             " bytes\n   from FFT_MALLOC and gives them back with FFT_FREE before it returns. If\n"
             "   FFT_MALLOC returns a null pointer, the call computes " +
             (second != 0 && second != leaf ? "them" : "the radix") +
             " directly\n   instead: the same result, at about N x " + std::to_string(leaf + second) +
             " real multiply-adds.\n";
    else if (leaf > kScratchRadixLimit)
        s += "   The prime radix " + std::to_string(leaf) + " is computed directly, at about N x " +
             std::to_string(leaf) + " real multiply-adds.\n";

    bool rootLoop = false;
    for (size_t s = 0; s < full.radix.size(); ++s)
        rootLoop |= !hasOwnButterfly(full.radix[s]) && full.radix[s] <= kScratchRadixLimit;
    if (half)
        for (size_t s = 0; s < half->radix.size(); ++s)
            rootLoop |= !hasOwnButterfly(half->radix[s]) && half->radix[s] <= kScratchRadixLimit;
    s += convolution ? "\n   Memory: apart from the work above, no work arrays and no static data; "
                     : "\n   Memory: no work arrays and no static data; ";
    s += rootLoop ? "a call keeps about " + std::to_string(500 * entry / 1024 + 1) +
                        " KiB of\n   work values on the stack (the butterfly of an odd radix)."
                  : "a call keeps well under 1 KiB on the stack.";
    s += "\n   Complex_FFT" + len + " and IFFT" + len + " may be called in place (pDestination == pSource):\n";
    s += "   such a call takes one copy of the " + std::to_string(n) + " inputs (" + std::to_string(tableBytes) +
         " bytes) from FFT_MALLOC and gives\n   it back with FFT_FREE. If FFT_MALLOC returns a null pointer, the call"
         " fills\n   pDestination with NaN instead. " +
         (convolution ? std::string("Apart from these two, no call uses the heap.")
                      : std::string("No other call uses the heap.")) +
         " Define\n   FFT_MALLOC and FFT_FREE before this file's code to use another allocator. */\n";
    return s;
}

// Real_FFT of even N: X[k] = E[k] + W^k O[k], E and O the transforms of the
// even and odd inputs, read off the half-length transform Z of the pairs.
// With vectors, KV_LANES values of k at a time, the entries from H - k
// down turned into ascending order; the mirror image likewise.
std::string splitStep(const FastText& t, int32_t n, bool vectors) {
    const int32_t h = n / 2;
    TextValues values = t.scalars({"real", "zero", "half"});
    values["h"] = std::to_string(h);
    values["n"] = std::to_string(n);
    values["vector_split"] = vectors ? expandTemplate("kv_split, vector loop", R"(#ifdef KV_VECTOR
	{
		kv_vcomplex va, vb, w;
		kv_vec ver, vei, vfr, vfi, vpr, vpq;
		for (; 2 * k + 2 * KV_LANES - 2 < @{h}; k += KV_LANES) {
			va = kv_vload(y + k);
			vb = kv_vload(y + @{h} - k - (KV_LANES - 1));
			vb.re = __builtin_shufflevector(vb.re, vb.re, KV_BACKWARD);
			vb.im = __builtin_shufflevector(vb.im, vb.im, KV_BACKWARD);
			w = kv_vload(T + k);
			ver = (va.re + vb.re) * @{half};
			vei = (va.im - vb.im) * @{half};
			vfr = (va.im + vb.im) * @{half};
			vfi = (vb.re - va.re) * @{half};
			vpr = w.re * vfr - w.im * vfi;
			vpq = w.re * vfi + w.im * vfr;
			va.re = ver + vpr;
			va.im = vei + vpq;
			vb.re = ver - vpr;
			vb.im = vpq - vei;
			vb.re = __builtin_shufflevector(vb.re, vb.re, KV_BACKWARD);
			vb.im = __builtin_shufflevector(vb.im, vb.im, KV_BACKWARD);
			kv_vstore(y + k, va);
			kv_vstore(y + @{h} - k - (KV_LANES - 1), vb);
		}
	}
#endif
)", {{"h", values["h"]}, {"half", values["half"]}})
                                     : "";
    values["middle"] = h % 2 == 0 ? format("\ty[%d].im = -y[%d].im;\n", h / 2, h / 2) : "";
    values["vector_mirror"] = vectors ? expandTemplate("kv_split, vector mirror", R"(#ifdef KV_VECTOR
	{
		kv_vec m;
		for (; k + KV_LANES / 2 - 1 < @{h}; k += KV_LANES / 2) {
			memcpy(&m, y + k, sizeof m);
			m = __builtin_shufflevector(m, -m, KV_MIRROR);
			memcpy(y + @{n} - k - (KV_LANES / 2 - 1), &m, sizeof m);
		}
	}
#endif
)", {{"h", values["h"]}, {"n", values["n"]}})
                                      : "";
    return expandTemplate("kv_split", R"(
/* y holds Z, the transform of the @{h} pairs z[j] = x[2j] + i x[2j+1]. With
   E[k] = (Z[k] + conj Z[H-k]) / 2 and O[k] = (Z[k] - conj Z[H-k]) / 2i, H = @{h}:
   X[k] = E[k] + W^k O[k], X[H-k] = conj(E[k] - W^k O[k]), X[N-k] = conj X[k]. */
static void kv_split(complex *KV_RESTRICT y, const complex *KV_RESTRICT T)
{
	long k;
	@{real} er, ei, fr, fi, pr, pq;
	complex a, b;
	a = y[0];
	y[0].re = a.re + a.im;
	y[0].im = @{zero};
	y[@{h}].re = a.re - a.im;
	y[@{h}].im = @{zero};
	k = 1;
@{vector_split}	for (; k < @{h} - k; k++) {
		a = y[k];
		b = y[@{h} - k];
		er = (a.re + b.re) * @{half};
		ei = (a.im - b.im) * @{half};
		fr = (a.im + b.im) * @{half};
		fi = (b.re - a.re) * @{half};
		pr = T[k].re * fr - T[k].im * fi;
		pq = T[k].re * fi + T[k].im * fr;
		y[k].re = er + pr;
		y[k].im = ei + pq;
		y[@{h} - k].re = er - pr;
		y[@{h} - k].im = pq - ei;
	}
@{middle}	k = 1;
@{vector_mirror}	for (; k < @{h}; k++) {
		y[@{n} - k].re = y[k].re;
		y[@{n} - k].im = -y[k].im;
	}
}
)",
                          values);
}

// IFFT as the forward transform read backwards: x^[k] = X[(N - k) mod N] / N.
// With vectors, KV_LANES / 2 entries from each end at a time, their order
// turned within the vector.
std::string reverseStep(const FastText& t, int32_t n, bool vectors) {
    TextValues values = t.scalars({"real"});
    values["n"] = std::to_string(n);
    values["scale"] = t.literal(1.0L / n);
    values["vector_loop"] = vectors ? expandTemplate("kv_reverse_scale, vector loop", R"(#ifdef KV_VECTOR
	{
		kv_vec a, b;
		for (; 2 * k + KV_LANES - 2 < @{n}; k += KV_LANES / 2) {
			memcpy(&a, y + k, sizeof a);
			memcpy(&b, y + @{n} - k - (KV_LANES / 2 - 1), sizeof b);
			a = __builtin_shufflevector(a, a, KV_REVERSE) * s;
			b = __builtin_shufflevector(b, b, KV_REVERSE) * s;
			memcpy(y + k, &b, sizeof b);
			memcpy(y + @{n} - k - (KV_LANES / 2 - 1), &a, sizeof a);
		}
	}
#endif
)", {{"n", values["n"]}})
                                    : "";
    values["middle"] = n % 2 == 0 ? format("\ty[%d].re *= s;\n\ty[%d].im *= s;\n", n / 2, n / 2) : "";
    return expandTemplate("kv_reverse_scale", R"(
static void kv_reverse_scale(complex *y)
{
	const @{real} s = @{scale};
	@{real} r, i;
	long k;
	y[0].re *= s;
	y[0].im *= s;
	k = 1;
@{vector_loop}	for (; k < @{n} - k; k++) {
		r = y[k].re;
		i = y[k].im;
		y[k].re = y[@{n} - k].re * s;
		y[k].im = y[@{n} - k].im * s;
		y[@{n} - k].re = r * s;
		y[@{n} - k].im = i * s;
	}
@{middle}}
)",
                          values);
}

// Complex_FFT and IFFT: in place through one heap copy of the input.
std::string complexTransform(const std::string& name, int32_t n, const char* after) {
    return expandTemplate("Complex_FFT and IFFT", R"(
void @{name}(complex *pDestination, complex *pSource, complex *pSinCosTable)
{
	complex *copy = 0;
	if (pDestination == pSource) {
		copy = (complex *)FFT_MALLOC(@{n} * sizeof(complex));
		if (copy == 0) {
			kv_fill_nan(pDestination);
			return;
		}
		memcpy(copy, pSource, @{n} * sizeof(complex));
		pSource = copy;
	}
	kv_forward(pDestination, &pSource[0].re, pSinCosTable);
@{after}	if (copy != 0) FFT_FREE(copy);
}
)",
                          {{"name", name}, {"n", std::to_string(n)}, {"after", after}});
}

}  // namespace

void writeFastFile(SourceWriter& w, const FastPlan& full, Precision precision) {
    const FastText t(precision);
    const int32_t n = full.length;
    const std::string len = std::to_string(n);
    const std::vector<int32_t>& primes = full.primes;
    const bool even = n % 2 == 0;
    const FastPlan half = even ? makeFastPlan(std::vector<int32_t>(primes.begin() + 1, primes.end())) : FastPlan();

    FastNeeds needs;
    collectNeeds(full, false, needs);
    collectNeeds(even ? half : full, !even, needs);

    w.writeText(headerComment(full, even ? &half : nullptr, n, len, precision).c_str());
    // A vector of KV_LANES scalars fills an AVX or an SSE register.
    const bool single = precision == Precision::Single;
    TextValues headerValues = t.scalars({"real"});
    headerValues["lanes_avx"] = single ? "8" : "4";
    headerValues["lanes_sse"] = single ? "4" : "2";
    w.writeText(expandTemplate("headers", kHeaders, headerValues).c_str());
    w.writeText(expandTemplate("revolver", kRevolver, {{"cast", single ? "(float)" : ""}}).c_str());
    writeButterflies(w, t, needs);
    writeForward(w, t, full, "kv_forward", 1, false);
    if (even) {
        writeForward(w, t, half, "kv_forward_half", 2, false);
        w.writeText(splitStep(t, n, hasVectorSupport(needs)).c_str());
    } else {
        writeForward(w, t, full, "kv_forward_real", 1, true);
    }
    w.writeText(reverseStep(t, n, hasVectorSupport(needs)).c_str());
    TextValues fillValues = t.scalars({"real", "zero"});
    fillValues["len"] = len;
    w.writeText(expandTemplate("kv_fill_nan", kFillNan, fillValues).c_str());

    w.writeText(complexTransform("IFFT" + len, n, "\tkv_reverse_scale(pDestination);\n").c_str());
    w.writeText(format("\nvoid Real_FFT%s(complex *pDestination, %s *pSource, complex *pSinCosTable)\n{\n",
                       len.c_str(), t.real())
                    .c_str());
    if (even)
        w.writeText("\tkv_forward_half(pDestination, pSource, pSinCosTable);\n\tkv_split(pDestination, pSinCosTable);\n}\n");
    else
        w.writeText("\tkv_forward_real(pDestination, pSource, pSinCosTable);\n}\n");
    w.writeText(complexTransform("Complex_FFT" + len, n, "").c_str());
}
