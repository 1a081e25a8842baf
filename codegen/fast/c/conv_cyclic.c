/* The cyclic convolution of the large prime radices (see convolution.c),
   as the fast style's generated files carry it after conv_passes.c. The
   build gives the generator the text after the marker line below, with
   REAL as the placeholder that it fills in for the file's precision; the
   lines up to the marker let it compile on its own. */
#include "conv_passes.c"

/* ==== generated files carry this file from here on ==== */
/* The bottom of a power-of-two convolution whose last pass is radix 4, on
   each four neighbours in one go: the forward radix-4 butterfly without
   twiddles, the product with the kernel and the inverse butterfly. With
   forward_only set (to prepare the kernel) only the first. KV_CONV_MID
   works on the four entries r0..r3, i0..i3, of type V, with entry r of the
   kernel at kr + b + o_r. */
#define KV_CONV_MID(V, o0, o1, o2, o3) { \
	const V ar = r0 + r2, ai = i0 + i2, br = r0 - r2, bi = i0 - i2; \
	const V cr = r1 + r3, ci = i1 + i3, dr = r1 - r3, di = i1 - i3; \
	r0 = ar + cr; i0 = ai + ci; r2 = ar - cr; i2 = ai - ci; \
	r1 = br + di; i1 = bi - dr; r3 = br - di; i3 = bi + dr; \
	if (!forward_only) { \
		V k0r, k1r, k2r, k3r, k0i, k1i, k2i, k3i; \
		memcpy(&k0r, kr + b + o0, sizeof k0r); memcpy(&k1r, kr + b + o1, sizeof k1r); \
		memcpy(&k2r, kr + b + o2, sizeof k2r); memcpy(&k3r, kr + b + o3, sizeof k3r); \
		memcpy(&k0i, ki + b + o0, sizeof k0i); memcpy(&k1i, ki + b + o1, sizeof k1i); \
		memcpy(&k2i, ki + b + o2, sizeof k2i); memcpy(&k3i, ki + b + o3, sizeof k3i); { \
		const V x0r = r0 * k0r - i0 * k0i, x0i = r0 * k0i + i0 * k0r, x1r = r1 * k1r - i1 * k1i, x1i = r1 * k1i + i1 * k1r; \
		const V x2r = r2 * k2r - i2 * k2i, x2i = r2 * k2i + i2 * k2r, x3r = r3 * k3r - i3 * k3i, x3i = r3 * k3i + i3 * k3r; \
		const V er = x0r + x2r, ei = x0i + x2i, fr = x0r - x2r, fi = x0i - x2i; \
		const V gr = x1r + x3r, gi = x1i + x3i, hr = x1r - x3r, hi = x1i - x3i; \
		r0 = er + gr; i0 = ei + gi; r2 = er - gr; i2 = ei - gi; \
		r3 = fr + hi; i3 = fi - hr; r1 = fr - hi; i1 = fi + hr; \
	} } }

/* The entries of the bottom at b + o0..o3 of re and im, as V, through KV_CONV_MID. */
#define KV_CONV_LOAD4(V, o0, o1, o2, o3) \
	V r0, r1, r2, r3, i0, i1, i2, i3; \
	memcpy(&r0, re + b + o0, sizeof r0); memcpy(&r1, re + b + o1, sizeof r1); \
	memcpy(&r2, re + b + o2, sizeof r2); memcpy(&r3, re + b + o3, sizeof r3); \
	memcpy(&i0, im + b + o0, sizeof i0); memcpy(&i1, im + b + o1, sizeof i1); \
	memcpy(&i2, im + b + o2, sizeof i2); memcpy(&i3, im + b + o3, sizeof i3)
#define KV_CONV_STORE4(o0, o1, o2, o3) \
	memcpy(re + b + o0, &r0, sizeof r0); memcpy(re + b + o1, &r1, sizeof r1); \
	memcpy(re + b + o2, &r2, sizeof r2); memcpy(re + b + o3, &r3, sizeof r3); \
	memcpy(im + b + o0, &i0, sizeof i0); memcpy(im + b + o1, &i1, sizeof i1); \
	memcpy(im + b + o2, &i2, sizeof i2); memcpy(im + b + o3, &i3, sizeof i3)

#ifdef KV_VECTOR
/* Vectors of four and of two values, whichever the width takes, for the
   transposes of the bottom (each its own inverse): loaded from 4 x 4 values
   at 0, 4, 8, 12, vector r holds entry r of each of the four rows; loaded
   from 2 x 4 values at 0, 4, 2, 6, entry r of each of the two. */
typedef REAL kv_conv_v4 __attribute__((vector_size(4 * sizeof(REAL))));
typedef REAL kv_conv_v2 __attribute__((vector_size(2 * sizeof(REAL))));
#define KV_CONV_T4(a, b, c, d) { \
	const kv_conv_v4 t0 = __builtin_shufflevector(a, b, 0, 4, 1, 5), t1 = __builtin_shufflevector(a, b, 2, 6, 3, 7); \
	const kv_conv_v4 t2 = __builtin_shufflevector(c, d, 0, 4, 1, 5), t3 = __builtin_shufflevector(c, d, 2, 6, 3, 7); \
	a = __builtin_shufflevector(t0, t2, 0, 1, 4, 5); b = __builtin_shufflevector(t0, t2, 2, 3, 6, 7); \
	c = __builtin_shufflevector(t1, t3, 0, 1, 4, 5); d = __builtin_shufflevector(t1, t3, 2, 3, 6, 7); }
/* Eight rows of four at 0, 8, 16, 24 to vectors of entry r of each, and
   back (KV_CONV_T8I), by two steps of shuffles. */
typedef REAL kv_conv_v8 __attribute__((vector_size(8 * sizeof(REAL))));
#define KV_CONV_S1(a, b, x, y) { \
	const kv_conv_v8 s0 = __builtin_shufflevector(a, b, 0, 4, 8, 12, 1, 5, 9, 13); \
	y = __builtin_shufflevector(a, b, 2, 6, 10, 14, 3, 7, 11, 15); x = s0; }
#define KV_CONV_S2(a, b, x, y) { \
	const kv_conv_v8 s0 = __builtin_shufflevector(a, b, 0, 1, 2, 3, 8, 9, 10, 11); \
	y = __builtin_shufflevector(a, b, 4, 5, 6, 7, 12, 13, 14, 15); x = s0; }
#define KV_CONV_T8(a, b, c, d) { \
	KV_CONV_S1(a, b, a, b) KV_CONV_S1(c, d, c, d) KV_CONV_S2(a, c, a, c) KV_CONV_S2(b, d, b, d) \
	{ const kv_conv_v8 s = b; b = c; c = s; } }
#define KV_CONV_T8I(a, b, c, d) { \
	{ const kv_conv_v8 s = b; b = c; c = s; } \
	KV_CONV_S2(a, c, a, c) KV_CONV_S2(b, d, b, d) KV_CONV_S1(a, b, a, b) KV_CONV_S1(c, d, c, d) }
#define KV_CONV_T2(a, b, c, d) { \
	const kv_conv_v2 t0 = __builtin_shufflevector(a, b, 0, 2), t1 = __builtin_shufflevector(a, b, 1, 3); \
	const kv_conv_v2 t2 = __builtin_shufflevector(c, d, 0, 2), t3 = __builtin_shufflevector(c, d, 1, 3); \
	a = t0; b = t1; c = t2; d = t3; }
#endif

/* The middle over all n entries on vectors of type V, four of them at
   offsets 0, o1, o2 and o3 of each stretch of step entries: transposed by
   T, and back by TI unless the inverse pass is left to the caller. */
#define KV_CONV_MIDDLE(V, step, T, TI, o1, o2, o3) \
	for (b = 0; b < n; b += step) { \
		KV_CONV_LOAD4(V, 0, o1, o2, o3); \
		T(r0, r1, r2, r3) \
		T(i0, i1, i2, i3) \
		KV_CONV_MID(V, 0, o1, o2, o3) \
		if (!forward_only) { \
			TI(r0, r1, r2, r3) \
			TI(i0, i1, i2, i3) \
		} \
		KV_CONV_STORE4(0, o1, o2, o3); \
	}

/* n a multiple of 16. With vectors, two, four or eight neighbourhoods at a time,
   transposed so that each vector holds one entry of each; the kernel is
   left in that order, where it is read without a transpose. */
static void kv_conv_middle(REAL *re, REAL *im, long n, const REAL *kr, const REAL *ki, int forward_only)
{
	long b;
#ifdef KV_VECTOR
	if (KV_LANES >= 8 && n % 32 == 0)
		KV_CONV_MIDDLE(kv_conv_v8, 32, KV_CONV_T8, KV_CONV_T8I, 8, 16, 24)
	else if (KV_LANES >= 4)
		KV_CONV_MIDDLE(kv_conv_v4, 16, KV_CONV_T4, KV_CONV_T4, 4, 8, 12)
	else
		KV_CONV_MIDDLE(kv_conv_v2, 8, KV_CONV_T2, KV_CONV_T2, 4, 2, 6)
#else
	for (b = 0; b < n; b += 4) {
		KV_CONV_LOAD4(REAL, 0, 1, 2, 3);
		KV_CONV_MID(REAL, 0, 1, 2, 3)
		KV_CONV_STORE4(0, 1, 2, 3);
	}
#endif
}

/* The same where the last pass is radix 2: KV_CONV_MID2 works on the two
   entries r0, r1, i0, i1 of type V, the kernel at kr + b + o0 and o1. */
#define KV_CONV_MID2(V, o0, o1) { \
	const V ar = r0 + r1, ai = i0 + i1, br = r0 - r1, bi = i0 - i1; \
	r0 = ar; i0 = ai; r1 = br; i1 = bi; \
	if (!forward_only) { \
		V k0r, k1r, k0i, k1i; \
		memcpy(&k0r, kr + b + o0, sizeof k0r); memcpy(&k1r, kr + b + o1, sizeof k1r); \
		memcpy(&k0i, ki + b + o0, sizeof k0i); memcpy(&k1i, ki + b + o1, sizeof k1i); { \
		const V x0r = ar * k0r - ai * k0i, x0i = ar * k0i + ai * k0r; \
		const V x1r = br * k1r - bi * k1i, x1i = br * k1i + bi * k1r; \
		r0 = x0r + x1r; i0 = x0i + x1i; r1 = x0r - x1r; i1 = x0i - x1i; \
	} } }
#define KV_CONV_LOAD2(V, o0, o1) \
	V r0, r1, i0, i1; \
	memcpy(&r0, re + b + o0, sizeof r0); memcpy(&r1, re + b + o1, sizeof r1); \
	memcpy(&i0, im + b + o0, sizeof i0); memcpy(&i1, im + b + o1, sizeof i1)
#define KV_CONV_STORE2(o0, o1) \
	memcpy(re + b + o0, &r0, sizeof r0); memcpy(re + b + o1, &r1, sizeof r1); \
	memcpy(im + b + o0, &i0, sizeof i0); memcpy(im + b + o1, &i1, sizeof i1)
/* Two vectors of pairs to the vector of first entries and that of second
   ones (KV_CONV_D*), and back (KV_CONV_I*). */
#define KV_CONV_SWAP2(V, a, b, i0, i1) { \
	const V s0 = __builtin_shufflevector(a, b, i0); b = __builtin_shufflevector(a, b, i1); a = s0; }
#define KV_CONV_EVEN2 0, 2
#define KV_CONV_ODD2 1, 3
#define KV_CONV_EVEN4 0, 2, 4, 6
#define KV_CONV_ODD4 1, 3, 5, 7
#define KV_CONV_LOW4 0, 4, 1, 5
#define KV_CONV_HIGH4 2, 6, 3, 7
#define KV_CONV_EVEN8 0, 2, 4, 6, 8, 10, 12, 14
#define KV_CONV_ODD8 1, 3, 5, 7, 9, 11, 13, 15
#define KV_CONV_LOW8 0, 8, 1, 9, 2, 10, 3, 11
#define KV_CONV_HIGH8 4, 12, 5, 13, 6, 14, 7, 15

/* n a multiple of 16; the kernel left in the order of the vectors, as in
   kv_conv_middle. */
static void kv_conv_middle2(REAL *re, REAL *im, long n, const REAL *kr, const REAL *ki, int forward_only)
{
	long b;
#ifdef KV_VECTOR
	if (KV_LANES >= 8) {
		for (b = 0; b < n; b += 16) {
			KV_CONV_LOAD2(kv_conv_v8, 0, 8);
			KV_CONV_SWAP2(kv_conv_v8, r0, r1, KV_CONV_EVEN8, KV_CONV_ODD8)
			KV_CONV_SWAP2(kv_conv_v8, i0, i1, KV_CONV_EVEN8, KV_CONV_ODD8)
			KV_CONV_MID2(kv_conv_v8, 0, 8)
			if (!forward_only) {
				KV_CONV_SWAP2(kv_conv_v8, r0, r1, KV_CONV_LOW8, KV_CONV_HIGH8)
				KV_CONV_SWAP2(kv_conv_v8, i0, i1, KV_CONV_LOW8, KV_CONV_HIGH8)
			}
			KV_CONV_STORE2(0, 8);
		}
	} else if (KV_LANES >= 4) {
		for (b = 0; b < n; b += 8) {
			KV_CONV_LOAD2(kv_conv_v4, 0, 4);
			KV_CONV_SWAP2(kv_conv_v4, r0, r1, KV_CONV_EVEN4, KV_CONV_ODD4)
			KV_CONV_SWAP2(kv_conv_v4, i0, i1, KV_CONV_EVEN4, KV_CONV_ODD4)
			KV_CONV_MID2(kv_conv_v4, 0, 4)
			if (!forward_only) {
				KV_CONV_SWAP2(kv_conv_v4, r0, r1, KV_CONV_LOW4, KV_CONV_HIGH4)
				KV_CONV_SWAP2(kv_conv_v4, i0, i1, KV_CONV_LOW4, KV_CONV_HIGH4)
			}
			KV_CONV_STORE2(0, 4);
		}
	} else {
		for (b = 0; b < n; b += 4) {
			KV_CONV_LOAD2(kv_conv_v2, 0, 2);
			KV_CONV_SWAP2(kv_conv_v2, r0, r1, KV_CONV_EVEN2, KV_CONV_ODD2)
			KV_CONV_SWAP2(kv_conv_v2, i0, i1, KV_CONV_EVEN2, KV_CONV_ODD2)
			KV_CONV_MID2(kv_conv_v2, 0, 2)
			if (!forward_only) {
				KV_CONV_SWAP2(kv_conv_v2, r0, r1, KV_CONV_EVEN2, KV_CONV_ODD2)
				KV_CONV_SWAP2(kv_conv_v2, i0, i1, KV_CONV_EVEN2, KV_CONV_ODD2)
			}
			KV_CONV_STORE2(0, 2);
		}
	}
#else
	for (b = 0; b < n; b += 2) {
		KV_CONV_LOAD2(REAL, 0, 1);
		KV_CONV_MID2(REAL, 0, 1)
		KV_CONV_STORE2(0, 1);
	}
#endif
}

/* A radix-4 pass over n values: every span of 4m. Spans of fewer values
   than a vector has (m = 2, or 4 with eight lanes) go in one vector of m
   each: one call with a loop of scalar butterflies per span took an
   odd power of two 2^17 half again as long per value as 2^16. */
#ifdef KV_VECTOR
#define KV_CONV_NARROW4(V) \
	for (b = 0; b < n; b += 4 * m) { \
		REAL *r0 = re + b, *r1 = r0 + m, *r2 = r1 + m, *r3 = r2 + m, *i0 = im + b, *i1 = i0 + m, *i2 = i1 + m, \
			*i3 = i2 + m; \
		if (inverse) \
			KV_CONV_DIT4(V) \
		else \
			KV_CONV_DIF4(V) \
	}
#endif
static void kv_conv_pass4(REAL *re, REAL *im, long n, long m, const REAL *tw, int inverse)
{
	long b;
#ifdef KV_VECTOR
	long j = 0;
	if (m == 2 && KV_LANES > 2) {
		KV_CONV_NARROW4(kv_conv_v2)
		return;
	}
	if (m == 4 && KV_LANES > 4) {
		KV_CONV_NARROW4(kv_conv_v4)
		return;
	}
	/* Spans of one to four vectors: their loop here, not a call per span
	   (below the radix-5 passes, 3125 spans of 32 per pass). */
	if (m <= 4 * KV_LANES && m % KV_LANES == 0) {
		for (b = 0; b < n; b += 4 * m) {
			REAL *r0 = re + b, *r1 = r0 + m, *r2 = r1 + m, *r3 = r2 + m, *i0 = im + b, *i1 = i0 + m, *i2 = i1 + m,
				*i3 = i2 + m;
			for (j = 0; j < m; j += KV_LANES)
				if (inverse)
					KV_CONV_DIT4(kv_vec)
				else
					KV_CONV_DIF4(kv_vec)
		}
		return;
	}
#endif
	for (b = 0; b < n; b += 4 * m) {
		REAL *r = re + b, *i = im + b;
		kv_conv_span4(r, r + m, r + 2 * m, r + 3 * m, i, i + m, i + 2 * m, i + 3 * m, tw, m, inverse);
	}
}

/* The cyclic convolutions of the blocks of n values (n a power of two up
   to 16384) that make up the total from re + i*im on, each with its part
   of the transformed kernel: every pass runs over all the blocks at once,
   its loops the longer and called once, not once a block (below the
   radix-5 passes of 100000 = 5^5 * 2^5, 3125 blocks of 32 per transform). */
static void kv_conv_cyclic_each(REAL *re, REAL *im, long total, long n, const REAL *kr, const REAL *ki, const REAL *tw,
	int forward_only)
{
	long m;
	for (m = n; m >= 8;) {
		m /= 4;
		kv_conv_pass4(re, im, total, m, tw + m, 0);
	}
	if (m == 4)
		kv_conv_middle(re, im, total, kr, ki, forward_only);
	else
		kv_conv_middle2(re, im, total, kr, ki, forward_only);
	if (forward_only)
		return;
	for (; m < n; m *= 4)
		kv_conv_pass4(re, im, total, m, tw + m, 1);
}

/* The cyclic convolution of the n values re + i*im (n a power of two) with
   the transformed kernel kr + i*ki: the forward transform by decimation in
   frequency leaves its output in digit-reversed order, the kernel is in the
   same order, and the inverse by decimation in time takes that order back,
   so no reordering is ever done. Above 16384 values the recursion goes
   depth first, each quarter done while it is in cache. With forward_only
   set, only the forward transform is done (to prepare the kernel). */
static void kv_conv_cyclic(REAL *re, REAL *im, long n, const REAL *kr, const REAL *ki, const REAL *tw, int forward_only)
{
	long q;
	if (n > 16384) {
		kv_conv_pass4(re, im, n, n / 4, tw + n / 4, 0);
		for (q = 0; q < n; q += n / 4)
			kv_conv_cyclic(re + q, im + q, n / 4, kr + q, ki + q, tw, forward_only);
		if (!forward_only)
			kv_conv_pass4(re, im, n, n / 4, tw + n / 4, 1);
		return;
	}
	kv_conv_cyclic_each(re, im, n, n, kr, ki, tw, forward_only);
}

/* A radix-5 pass over n values: every span of 5m, as kv_conv_pass4. */
static void kv_conv_pass5(REAL *re, REAL *im, long n, long m, const REAL *tw, int inverse)
{
	long b;
	for (b = 0; b < n; b += 5 * m)
		kv_conv_span5(re + b, re + b + m, re + b + 2 * m, re + b + 3 * m, re + b + 4 * m, im + b, im + b + m,
			im + b + 2 * m, im + b + 3 * m, im + b + 4 * m, tw, m, inverse);
}

/* The cyclic convolutions of the blocks of n = 5^c * 2^a values that make
   up the total, as kv_conv_cyclic_each: each radix-5 pass over all the
   blocks at once, breadth first. */
static void kv_conv_convolve5_each(REAL *re, REAL *im, long total, long n, const REAL *kr, const REAL *ki,
	const REAL *tw, int forward_only)
{
	const long m = n / 5;
	if (n % 5) {
		kv_conv_cyclic_each(re, im, total, n, kr, ki, tw, forward_only);
		return;
	}
	kv_conv_pass5(re, im, total, m, tw + m, 0);
	kv_conv_convolve5_each(re, im, total, m, kr, ki, tw, forward_only);
	if (!forward_only)
		kv_conv_pass5(re, im, total, m, tw + m, 1);
}

/* The cyclic convolution of length n = 5^c * 2^a: the radix-5 passes around
   the power-of-two convolutions, depth first while a block is larger than
   the 16384 values that stay in cache, then breadth first within it. */
static void kv_conv_convolve5(REAL *re, REAL *im, long n, const REAL *kr, const REAL *ki, const REAL *tw, int forward_only)
{
	const long m = n / 5;
	long q;
	if (n % 5) {
		kv_conv_cyclic(re, im, n, kr, ki, tw, forward_only);
		return;
	}
	if (n <= 16384) {
		kv_conv_convolve5_each(re, im, n, n, kr, ki, tw, forward_only);
		return;
	}
	kv_conv_pass5(re, im, n, m, tw + m, 0);
	for (q = 0; q < n; q += m)
		kv_conv_convolve5(re + q, im + q, m, kr + q, ki + q, tw, forward_only);
	if (!forward_only)
		kv_conv_pass5(re, im, n, m, tw + m, 1);
}

/* The cyclic convolution of length n = 5^c * 3^b * 2^a (c = 0 without
   KV_CONV_RADIX5): the radix-3 passes outermost, then kv_conv_convolve5,
   depth first, as the power-of-two part. */
static void kv_conv_convolve(REAL *re, REAL *im, long n, const REAL *kr, const REAL *ki, const REAL *tw, int forward_only)
{
	const long m = n / 3;
	long q;
	if (KV_CONV_RADIX5 && n % 3 && n % 5 == 0) {
		kv_conv_convolve5(re, im, n, kr, ki, tw, forward_only);
		return;
	}
	if (n % 3) {
		kv_conv_cyclic(re, im, n, kr, ki, tw, forward_only);
		return;
	}
	kv_conv_span3(re, re + m, re + 2 * m, im, im + m, im + 2 * m, tw + m, m, 0);
	for (q = 0; q < n; q += m)
		kv_conv_convolve(re + q, im + q, m, kr + q, ki + q, tw, forward_only);
	if (!forward_only)
		kv_conv_span3(re, re + m, re + 2 * m, im, im + m, im + 2 * m, tw + m, m, 1);
}
