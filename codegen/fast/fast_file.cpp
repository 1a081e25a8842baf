// The whole fast-style file: the comment with the plan, the allocator
// macros, the complex type and the prototypes, revolver, the static parts
// and the four public transforms.
#include "codegen/fast/fast_file.h"

#include <string>

#include "codegen/fast/convolution.h"
#include "codegen/fast/fast_interface.h"
#include "codegen/fast/fast_parts.h"
#include "codegen/fast/function_texts.h"

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

@{declarations}
#if defined(__GNUC__) || defined(__clang__)
#define KV_RESTRICT __restrict__
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L
#define KV_RESTRICT restrict
#else
#define KV_RESTRICT
#endif

#if defined(__GNUC__) || defined(__clang__)
#define KV_INLINE __inline__ __attribute__((always_inline))
#define KV_MAYBE_UNUSED __attribute__((unused))
#elif defined(_MSC_VER)
#define KV_INLINE __forceinline
#define KV_MAYBE_UNUSED
#elif defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L)
#define KV_INLINE inline
#define KV_MAYBE_UNUSED
#else
#define KV_INLINE
#define KV_MAYBE_UNUSED
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
@{scale}
/* With clang and gcc from version 12 on the passes also have a loop over
   vectors of entries, in the compilers' vector extensions; KV_PORTABLE
   before this file's code, or any other compiler, leaves the plain C loops.
   So does 32-bit x86 without SSE2, where the compilers emulate the vectors
   at a cost above that of the plain loops. */
#if (defined(__clang__) || (defined(__GNUC__) && __GNUC__ >= 12)) && !defined(KV_PORTABLE) && \
	!(defined(__i386__) && !defined(__SSE2__))
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

// KV_SCALE(x), x / N for the inverse transforms. Where the literal of 1/N
// is not exact, and products fuse with the sums that follow them, x times
// what it leaves out is added: IFFT59049's rms error was 1.27 times FFTW's
// with the literal alone (0.57 of a last bit off, the same way in every
// output). Without fusion that sum rounds three times where the product
// rounds once, and made IFFT243 less accurate: the literal alone then. The
// literals are cast: strict C refuses a vector times a scalar variable
// where floating arithmetic has excess precision (32-bit x87, s390x floats).
std::string scaleMacro(const FastText& t, int32_t n) {
    const long double exact = 1.0L / n;
    const long double near = t.precision() == Precision::Single ? (long double)(float)exact : (long double)(double)exact;
    const std::string c = format("(%s)%s", t.real(), t.literal(near).c_str());
    const std::string plain = "#define KV_SCALE(x) ((x) * " + c + ")\n";
    if (near == exact) return "\n/* x / N */\n" + plain;
    return format("\n/* x / N: x times the literal nearest 1/N, plus where a product fuses with the sum\n"
                  "   that follows it (FMA) x times what the literal leaves out: x / N rounded once. */\n"
                  "#if defined(__FMA__) || defined(__ARM_FEATURE_FMA)\n"
                  "#define KV_SCALE(x) ((x) * %s + (x) * (%s)%s)\n#else\n",
                  c.c_str(), t.real(), t.literal(exact - near).c_str()) +
           plain + "#endif\n";
}

// Every angle goes to the first octant, where cos and sin get a small
// argument, and comes back by an exact quarter turn and a sign. Single
// precision computes in double and rounds once. revolver is the same in
// every file of a precision: defined once per translation unit, and such
// that the linker keeps one of the copies of several units. On ELF and
// Mach-O that is a weak definition; on PE (mingw, Cygwin) weak definitions
// do not link (GNU ld 2.40 leaves the callers in other objects
// unresolved), but a COMDAT section does: the section is declared
// link-once in assembler, the function placed in it.
const char* const kRevolver = R"(
/* pSinCosTable[i] = exp(-2 pi i / N) for i < N: cos(2 pi i / N), -sin(2 pi i / N).
   The same function in every file of this precision: a translation unit
   defines it once, and of several units the linker keeps one copy (gcc and
   clang: a weak definition, or one in a link-once section on Windows; with
   other compilers, define @{guard} when compiling all
   files but one). */
#ifndef KALVORIN_REVOLVER_@{precision}
#define KALVORIN_REVOLVER_@{precision}
#if (defined(_WIN32) || defined(__CYGWIN__)) && (defined(__GNUC__) || defined(__clang__))
__asm__(".section .text$@{revolver},\"x\"\n\t.linkonce discard\n\t.text");
__attribute__((section(".text$@{revolver}")))
#elif defined(__GNUC__) || defined(__clang__)
__attribute__((weak))
#endif
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
#endif
)";

const char* const kFillNan = R"(
/* What a call leaves in its count entries when it cannot get the heap
   memory it needs: an in-place call its copy of the input, a transform its
   work memory where it has no other way. */
static void kv_fill_nan(complex *y, long count)
{
	volatile @{real} zero = @{zero};
	@{real} not_a_number = zero / zero;
	long k;
	for (k = 0; k < count; k++) {
		y[k].re = not_a_number;
		y[k].im = not_a_number;
	}
}
)";

// gcc in ISO C (-std=c99 and the like) does not fuse a * b + c into one
// multiply-add, while in its GNU modes and as C++ it does, and clang does
// within an expression: the transforms ask gcc for it whatever the mode,
// from the butterflies to the end of the file (revolver keeps the mode's
// rounding, and a program that includes the file its own options).
const char* const kContractFrom = R"(
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC push_options
#pragma GCC optimize("fp-contract=fast")
#endif
)";
const char* const kContractTo = R"(
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC pop_options
#endif
)";

// Complex_FFT and IFFT: in place through one heap copy of the input, which the
// transform reads through a pointer to the whole array (as in Real_IFFT).
std::string complexTransform(const FastText& t, const std::string& name, int32_t n, const char* transform,
                             const char* after) {
    return expandTemplate("Complex_FFT and IFFT", R"(
void @{name}(complex *pDestination, const complex *pSource, const complex *pSinCosTable)
{
	complex *copy = 0;
	if (pDestination == pSource) {
		copy = (complex *)FFT_MALLOC(@{n} * sizeof(complex));
		if (copy == 0) {
			kv_fill_nan(pDestination, @{n});
			return;
		}
		memcpy(copy, pSource, @{n} * sizeof(complex));
		pSource = copy;
	}
	@{transform}(pDestination, (const @{real} *)pSource, pSinCosTable);
@{after}	if (copy != 0) {
		FFT_FREE(copy);
	}
}
)",
                          {{"name", name},
                           {"n", std::to_string(n)},
                           {"real", t.real()},
                           {"transform", transform},
                           {"after", after}});
}

}  // namespace

void writeFastFile(SourceWriter& out, const FastPlan& full, Precision precision, const std::string& prefix) {
    const FastText t(precision);
    const FastNames names(full.length, precision, prefix);
    const int32_t n = full.length;
    const std::string len = std::to_string(n);
    const bool halved = realUsesHalfLength(n);
    const FastPlan half = halved ? makeHalfPlan(full) : FastPlan();

    FastNeeds needs;
    collectNeeds(full, false, needs);
    collectNeeds(halved ? half : full, !halved, needs);
    const bool inverse = foldsInverse(full);
    if (inverse) {
        needs.inverseLeaf = full.radix[0];
        needs.inverseLength = n;
        needs.inverseSplit = splitWidth(full, false) != 0;
        needs.inverseJoin = full.radix.back();
        // The leaves of a block, of all without blocking.
        const bool blocked = full.blockedStages > 0 && full.blockedStages < int(full.radix.size());
        needs.inverseLeftover = needs.inverseSplit && (blocked ? full.blockLength : n) / full.radix[0] % 8 != 0;
    }

    // Written with the plain names, then renamed in one pass.
    std::string text;
    const auto w = SourceWriter::intoText(text);
    w->writeText(headerComment(full, halved ? &half : nullptr, names).c_str());
    // A vector of KV_LANES scalars fills an AVX or an SSE register.
    const bool single = precision == Precision::Single;
    TextValues headerValues = t.scalars({"real"});
    headerValues["lanes_avx"] = single ? "8" : "4";
    headerValues["lanes_sse"] = single ? "4" : "2";
    headerValues["declarations"] = interfaceDeclarations(names);
    headerValues["scale"] = scaleMacro(t, n);
    w->writeText(expandTemplate("headers", kHeaders, headerValues).c_str());
    w->writeText(expandTemplate("revolver", kRevolver,
                                {{"cast", single ? "(float)" : ""},
                                 {"precision", names.precisionWord()},
                                 {"guard", names(std::string("KALVORIN_REVOLVER_") + names.precisionWord())},
                                 {"revolver", names("revolver")}})
                     .c_str());
    // Before the forward transforms: those with a pass that needs work
    // call it too.
    w->writeText(expandTemplate("kv_fill_nan", kFillNan, t.scalars({"real", "zero"})).c_str());
    w->writeText(kContractFrom);
    writeButterflies(*w, t, needs);
    writeForward(*w, t, full, "kv_forward", 1, false);
    if (inverse) writeForward(*w, t, full, "kv_backward", 1, false, true);
    if (halved) {
        writeForward(*w, t, half, "kv_forward_half", 2, false);
        w->writeText(splitStep(t, n, hasVectorSupport(needs)).c_str());
    } else {
        writeForward(*w, t, full, "kv_forward_real", 1, true);
    }
    if (!inverse) w->writeText(reverseStep(t, n, hasVectorSupport(needs)).c_str());
    w->writeText(realInverseSteps(t, n, hasVectorSupport(needs)).c_str());

    w->writeText((inverse ? complexTransform(t, "IFFT" + len, n, "kv_backward", "")
                          : complexTransform(t, "IFFT" + len, n, "kv_forward", "\tkv_reverse_scale(pDestination);\n"))
                     .c_str());
    w->writeText(format("\nvoid Real_FFT%s(complex *pDestination, const %s *pSource, const complex *pSinCosTable)\n{\n",
                        len.c_str(), t.real())
                     .c_str());
    // Without its work, the half-length transform leaves NaN in the first
    // N/2 entries, which the split would partly turn into zeros.
    if (halved && needsWork(half))
        w->writeText(format("\tif (kv_forward_half(pDestination, pSource, pSinCosTable))\n\t\tkv_split(pDestination, "
                            "pSinCosTable);\n\telse\n\t\tkv_fill_nan(pDestination, %d);\n}\n",
                            n)
                         .c_str());
    else if (halved)
        w->writeText("\tkv_forward_half(pDestination, pSource, pSinCosTable);\n\tkv_split(pDestination, pSinCosTable);\n}\n");
    else
        w->writeText("\tkv_forward_real(pDestination, pSource, pSinCosTable);\n}\n");
    w->writeText(realInverse(t, "Real_IFFT" + len, n).c_str());
    w->writeText(complexTransform(t, "Complex_FFT" + len, n, "kv_forward", "").c_str());
    w->writeText(kContractTo);
    w->close();
    out.writeText(renameIdentifiers(text, names.rules()).c_str());
}

void writeFastHeader(SourceWriter& w, int32_t n, Precision precision, const std::string& prefix) {
    w.writeText(headerFileText(FastNames(n, precision, prefix)).c_str());
}
