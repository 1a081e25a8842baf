// The vector half of the fast style's C: the loads, stores and products that
// the vector leaves and the vector loops of the passes use.
#include "codegen/fast/function_texts.h"

// The vector types and their loads, stores and products, for the vector
// loop of the passes. A vector holds the real parts (or the imaginary parts)
// of KV_LANES consecutive entries: the loads split the pairs, the stores
// join them again, and a product then needs no shuffles. Under AVX the lanes
// hold those entries out of order: the split and the join then
// stay within the 128-bit halves of a register, one unpack or shufps per
// vector instead of two shuffles of which one crosses the halves. Whatever
// works lane by lane (butterflies, products, a reversal of all the lanes)
// never sees the order; the twiddles are loaded in it. KV_NATURAL puts the
// lanes of such a vector back in the order of the entries (the order is its
// own inverse), for a vector stored as plain reals.
const char* const kVectorSupport = R"(
#ifdef KV_VECTOR
#if KV_LANES == 2
#define KV_EVEN 0, 2
#define KV_ODD 1, 3
#define KV_LOW 0, 2
#define KV_HIGH 1, 3
#define KV_REVERSE 0, 1
#define KV_BACKWARD 1, 0
#define KV_MIRROR 0, 3
#define KV_NATURAL 0, 1
#elif KV_LANES == 4
#define KV_EVEN 0, 4, 2, 6
#define KV_ODD 1, 5, 3, 7
#define KV_LOW 0, 4, 2, 6
#define KV_HIGH 1, 5, 3, 7
#define KV_REVERSE 2, 3, 0, 1
#define KV_BACKWARD 3, 2, 1, 0
#define KV_MIRROR 2, 7, 0, 5
#define KV_NATURAL 0, 2, 1, 3
#else
#define KV_EVEN 0, 2, 8, 10, 4, 6, 12, 14
#define KV_ODD 1, 3, 9, 11, 5, 7, 13, 15
#define KV_LOW 0, 8, 1, 9, 4, 12, 5, 13
#define KV_HIGH 2, 10, 3, 11, 6, 14, 7, 15
#define KV_REVERSE 6, 7, 4, 5, 2, 3, 0, 1
#define KV_BACKWARD 7, 6, 5, 4, 3, 2, 1, 0
#define KV_MIRROR 6, 15, 4, 13, 2, 11, 0, 9
#define KV_NATURAL 0, 1, 4, 5, 2, 3, 6, 7
#endif
#define KV_SHUFFLE(a, b, order) __builtin_shufflevector(a, b, order)

/* Entries p[0] to p[KV_LANES - 1]. */
static KV_INLINE kv_vcomplex kv_vload(const complex *p)
{
	kv_vec a, b;
	kv_vcomplex r;
	memcpy(&a, p, sizeof a);
	memcpy(&b, p + KV_LANES / 2, sizeof b);
	r.re = KV_SHUFFLE(a, b, KV_EVEN);
	r.im = KV_SHUFFLE(a, b, KV_ODD);
	return r;
}

static KV_INLINE void kv_vstore(complex *p, kv_vcomplex v)
{
	kv_vec a = KV_SHUFFLE(v.re, v.im, KV_LOW), b = KV_SHUFFLE(v.re, v.im, KV_HIGH);
	memcpy(p, &a, sizeof a);
	memcpy(p + KV_LANES / 2, &b, sizeof b);
}

/* Entries p[0], p[a], ... p[(KV_LANES - 1) a], in the order of the lanes:
   the same entry of KV_LANES leaves a apart, or the twiddles of KV_LANES
   columns. */
static KV_INLINE __attribute__((unused)) kv_vcomplex kv_vload_apart(const complex *p, long a)
{
	kv_vcomplex r;
#if KV_LANES == 2
	kv_vec lo = {p[0].re, p[0].im}, hi = {p[a].re, p[a].im};
#elif KV_LANES == 4
	kv_vec lo = {p[0].re, p[0].im, p[a].re, p[a].im};
	kv_vec hi = {p[2 * a].re, p[2 * a].im, p[3 * a].re, p[3 * a].im};
#else
	kv_vec lo = {p[0].re, p[0].im, p[a].re, p[a].im, p[2 * a].re, p[2 * a].im, p[3 * a].re, p[3 * a].im};
	kv_vec hi = {p[4 * a].re, p[4 * a].im, p[5 * a].re, p[5 * a].im,
		p[6 * a].re, p[6 * a].im, p[7 * a].re, p[7 * a].im};
#endif
	r.re = KV_SHUFFLE(lo, hi, KV_EVEN);
	r.im = KV_SHUFFLE(lo, hi, KV_ODD);
	return r;
}

/* T[e], T[e + tw], ... for the KV_LANES entries from k on, e = k tw, in
   the order of the lanes. */
static KV_INLINE kv_vcomplex kv_vroots(const complex *T, long e, long tw)
{
	return kv_vload_apart(T + e, tw);
}

/* T[0] in every lane: the twiddle of the first of KV_LANES columns, which
   the turn of each lane then moves on to that of its own column. */
static KV_INLINE __attribute__((unused)) kv_vcomplex kv_vsplat(const complex *T)
{
	kv_vcomplex r;
#if KV_LANES == 2
	kv_vec re = {T->re, T->re}, im = {T->im, T->im};
#elif KV_LANES == 4
	kv_vec re = {T->re, T->re, T->re, T->re}, im = {T->im, T->im, T->im, T->im};
#else
	kv_vec re = {T->re, T->re, T->re, T->re, T->re, T->re, T->re, T->re};
	kv_vec im = {T->im, T->im, T->im, T->im, T->im, T->im, T->im, T->im};
#endif
	r.re = re;
	r.im = im;
	return r;
}

static KV_INLINE kv_vcomplex kv_vmul(kv_vcomplex a, kv_vcomplex w)
{
	kv_vcomplex r;
	r.re = a.re * w.re - a.im * w.im;
	r.im = a.re * w.im + a.im * w.re;
	return r;
}
#endif
)";


// The split form: between the passes of a transform whose every span is a
// multiple of KV_LANES, each KV_LANES entries from a multiple of KV_LANES on
// are kept as the vector of their real parts followed by that of their
// imaginary parts, in the order of the lanes. A pass then loads and stores
// its vectors as they are; only the leaf, which writes the form, and the
// last pass, which writes pairs again, shuffle, where the passes on pairs
// each split and joined every entry.
const char* const kSplitSupport = R"(
#if @{if}
static KV_INLINE kv_vcomplex kv_vload_split(const complex *p)
{
	kv_vcomplex r;
	memcpy(&r.re, p, sizeof r.re);
	memcpy(&r.im, (const @{real} *)p + KV_LANES, sizeof r.im);
	return r;
}

static KV_INLINE void kv_vstore_split(complex *p, kv_vcomplex v)
{
	memcpy(p, &v.re, sizeof v.re);
	memcpy((@{real} *)p + KV_LANES, &v.im, sizeof v.im);
}

/* The count entries from p on, pairs that a scalar leaf wrote, into the
   split form. Unused where no scalar leaf writes the form. */
static KV_INLINE __attribute__((unused)) void kv_into_split(complex *p, long count)
{
	long k;
	for (k = 0; k < count; k += KV_LANES) kv_vstore_split(p + k, kv_vload(p + k));
}
#endif
)";
