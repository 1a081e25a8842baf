/* The large prime radices of the fast style, as its generated files carry
   them. The build gives the generator the text after the marker line below,
   with REAL, KV_HALF and KV_SQRT3_4 as placeholders that the generator
   fills in for the file's precision. The lines up to the marker only let
   this file compile, and be tested, on its own. */
#include <math.h>
#include <string.h>

#ifndef REAL
#define REAL double
#endif
/* As a generated file defines them, for both precisions. */
#if (defined(__clang__) || (defined(__GNUC__) && __GNUC__ >= 12)) && !defined(KV_PORTABLE)
#define KV_VECTOR 1
#if defined(__AVX__)
#define KV_LANES (32 / (int)sizeof(REAL))
#else
#define KV_LANES (16 / (int)sizeof(REAL))
#endif
typedef REAL kv_vec __attribute__((vector_size(KV_LANES * sizeof(REAL))));
#endif
#define KV_HALF ((REAL)0.5)
#define KV_SQRT3_4 ((REAL)0.86602540378443865)

typedef struct { REAL re, im; } complex;

/* ==== generated files carry this file from here on ==== */
/* Large prime radices by Bluestein's algorithm. With h = (p+1)/2, the
   inverse of 2 mod p, j*k = h*(j*j + k*k - (k-j)*(k-j)) mod p, so that
   X_k = w_k * sum_j (x_j*w_j) * conj(w_(k-j)) with the chirp w_j = W_p^(h*j*j):
   a convolution with a kernel of 2p - 1 entries that is the same at j and
   -j, so that a cyclic convolution of length n >= 2p - 2 gives it exactly
   (its two ends fall on the same entry with the same value). n is 3^b * 2^a,
   and the cost about 4n log n operations per length-p transform instead of
   the p*p of a direct butterfly. n may also fall short of 2p - 2 by up to
   32: the few outputs that the cyclic kernel then gets wrong (its entries
   at distances above n/2 are those of n minus the distance) are put right
   afterwards, e*(e+1) products for e = p - 1 - n/2 <= 16 (32771 takes
   2^16 instead of 9 * 2^13).
   Rader's algorithm needs a cyclic convolution of length p - 1; unless
   p - 1 is itself 3^b * 2^a it has to be padded to 2p - 3 or more,
   which gives the same n, and it reads and writes in the order of the
   powers of a primitive root: for p = 124991 that took 0.73 ms per
   transform against 0.47 ms for the chirped reads and writes here, and
   the order has to be computed as well. Rader's is used where p - 1 is
   3^b * 2^a: 65537 takes 2^16 instead of 2^17.
   The length-n transforms keep the two parts of the complex values in
   separate arrays, so that their loops vectorise, and never reorder: the forward
   transform leaves its output in digit-reversed order, the kernel is
   prepared in the same order and the inverse transform reads it. */

#if defined(__GNUC__) || defined(_MSC_VER)
#define KV_CONV_RESTRICT __restrict
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 199901L
#define KV_CONV_RESTRICT restrict
#else
#define KV_CONV_RESTRICT
#endif

/* The butterflies of the length-n transforms, each written once for a type V
   that is REAL or, where the file has them, a vector of KV_LANES REALs: the
   loops of the vector type leave nothing to the compiler's vectoriser, which
   gcc does not run at -O2 on loops of unknown length. memcpy moves the
   values in and out at any alignment. */
#define KV_CONV_GET(V, x, a) V x; memcpy(&x, (a) + j, sizeof x)
#define KV_CONV_PUT(a, x) memcpy((a) + j, &x, sizeof x)

/* One radix-4 butterfly of a span by decimation in frequency: the four
   quarters of 4m values, output r of butterfly j multiplied by W_4m^(r*j),
   with W_4m^j read from tw (m values each of the two parts) and its square
   and cube multiplied out, which vectorised costs less than loading them. */
#define KV_CONV_DIF4(V) { \
	KV_CONV_GET(V, w1r, tw); KV_CONV_GET(V, w1i, tw + m); \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a2r, r2); KV_CONV_GET(V, a3r, r3); \
	KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); KV_CONV_GET(V, a2i, i2); KV_CONV_GET(V, a3i, i3); \
	const V w2r = w1r * w1r - w1i * w1i, w2i = (w1r + w1r) * w1i; \
	const V w3r = w2r * w1r - w2i * w1i, w3i = w2r * w1i + w2i * w1r; \
	const V ar = a0r + a2r, ai = a0i + a2i, br = a0r - a2r, bi = a0i - a2i; \
	const V cr = a1r + a3r, ci = a1i + a3i, dr = a1r - a3r, di = a1i - a3i; \
	const V xr = br + di, xi = bi - dr, yr = ar - cr, yi = ai - ci, zr = br - di, zi = bi + dr; \
	a0r = ar + cr; a0i = ai + ci; \
	a1r = xr * w1r - xi * w1i; a1i = xr * w1i + xi * w1r; \
	a2r = yr * w2r - yi * w2i; a2i = yr * w2i + yi * w2r; \
	a3r = zr * w3r - zi * w3i; a3i = zr * w3i + zi * w3r; \
	KV_CONV_PUT(r0, a0r); KV_CONV_PUT(r1, a1r); KV_CONV_PUT(r2, a2r); KV_CONV_PUT(r3, a3r); \
	KV_CONV_PUT(i0, a0i); KV_CONV_PUT(i1, a1i); KV_CONV_PUT(i2, a2i); KV_CONV_PUT(i3, a3i); }

/* The inverse of KV_CONV_DIF4 (times 4): conjugate twiddles first, then the
   inverse butterfly (decimation in time). */
#define KV_CONV_DIT4(V) { \
	KV_CONV_GET(V, w1r, tw); KV_CONV_GET(V, w1i, tw + m); \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a2r, r2); KV_CONV_GET(V, a3r, r3); \
	KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); KV_CONV_GET(V, a2i, i2); KV_CONV_GET(V, a3i, i3); \
	const V w2r = w1r * w1r - w1i * w1i, w2i = (w1r + w1r) * w1i; \
	const V w3r = w2r * w1r - w2i * w1i, w3i = w2r * w1i + w2i * w1r; \
	const V xr = a1r * w1r + a1i * w1i, xi = a1i * w1r - a1r * w1i; \
	const V yr = a2r * w2r + a2i * w2i, yi = a2i * w2r - a2r * w2i; \
	const V zr = a3r * w3r + a3i * w3i, zi = a3i * w3r - a3r * w3i; \
	const V ar = a0r + yr, ai = a0i + yi, br = a0r - yr, bi = a0i - yi; \
	const V cr = xr + zr, ci = xi + zi, dr = xr - zr, di = xi - zi; \
	a0r = ar + cr; a0i = ai + ci; a1r = br - di; a1i = bi + dr; \
	a2r = ar - cr; a2i = ai - ci; a3r = br + di; a3i = bi - dr; \
	KV_CONV_PUT(r0, a0r); KV_CONV_PUT(r1, a1r); KV_CONV_PUT(r2, a2r); KV_CONV_PUT(r3, a3r); \
	KV_CONV_PUT(i0, a0i); KV_CONV_PUT(i1, a1i); KV_CONV_PUT(i2, a2i); KV_CONV_PUT(i3, a3i); }

/* A span of radix-4 butterflies, KV_CONV_DIF4 or KV_CONV_DIT4; the quarters
   never overlap. */
static void kv_conv_span4(REAL *KV_CONV_RESTRICT r0, REAL *KV_CONV_RESTRICT r1, REAL *KV_CONV_RESTRICT r2,
	REAL *KV_CONV_RESTRICT r3, REAL *KV_CONV_RESTRICT i0, REAL *KV_CONV_RESTRICT i1, REAL *KV_CONV_RESTRICT i2,
	REAL *KV_CONV_RESTRICT i3, const REAL *KV_CONV_RESTRICT tw, long m, int inverse)
{
	long j = 0;
	if (inverse) {
#ifdef KV_VECTOR
		for (; j + KV_LANES <= m; j += KV_LANES)
			KV_CONV_DIT4(kv_vec)
#endif
		for (; j < m; ++j)
			KV_CONV_DIT4(REAL)
	} else {
#ifdef KV_VECTOR
		for (; j + KV_LANES <= m; j += KV_LANES)
			KV_CONV_DIF4(kv_vec)
#endif
		for (; j < m; ++j)
			KV_CONV_DIF4(REAL)
	}
}

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

/* n a multiple of 16. With vectors, two, four or eight neighbourhoods at a time,
   transposed so that each vector holds one entry of each; the kernel is
   left in that order, where it is read without a transpose. */
static void kv_conv_middle(REAL *re, REAL *im, long n, const REAL *kr, const REAL *ki, int forward_only)
{
	long b;
#ifdef KV_VECTOR
	if (KV_LANES >= 8 && n % 32 == 0) {
		for (b = 0; b < n; b += 32) {
			KV_CONV_LOAD4(kv_conv_v8, 0, 8, 16, 24);
			KV_CONV_T8(r0, r1, r2, r3)
			KV_CONV_T8(i0, i1, i2, i3)
			KV_CONV_MID(kv_conv_v8, 0, 8, 16, 24)
			if (!forward_only) {
				KV_CONV_T8I(r0, r1, r2, r3)
				KV_CONV_T8I(i0, i1, i2, i3)
			}
			KV_CONV_STORE4(0, 8, 16, 24);
		}
	} else if (KV_LANES >= 4) {
		for (b = 0; b < n; b += 16) {
			KV_CONV_LOAD4(kv_conv_v4, 0, 4, 8, 12);
			KV_CONV_T4(r0, r1, r2, r3)
			KV_CONV_T4(i0, i1, i2, i3)
			KV_CONV_MID(kv_conv_v4, 0, 4, 8, 12)
			if (!forward_only) {
				KV_CONV_T4(r0, r1, r2, r3)
				KV_CONV_T4(i0, i1, i2, i3)
			}
			KV_CONV_STORE4(0, 4, 8, 12);
		}
	} else {
		for (b = 0; b < n; b += 8) {
			KV_CONV_LOAD4(kv_conv_v2, 0, 4, 2, 6);
			KV_CONV_T2(r0, r1, r2, r3)
			KV_CONV_T2(i0, i1, i2, i3)
			KV_CONV_MID(kv_conv_v2, 0, 4, 2, 6)
			if (!forward_only) {
				KV_CONV_T2(r0, r1, r2, r3)
				KV_CONV_T2(i0, i1, i2, i3)
			}
			KV_CONV_STORE4(0, 4, 2, 6);
		}
	}
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
	const long j = 0;
	if (m == 2 && KV_LANES > 2) {
		KV_CONV_NARROW4(kv_conv_v2)
		return;
	}
	if (m == 4 && KV_LANES > 4) {
		KV_CONV_NARROW4(kv_conv_v4)
		return;
	}
#endif
	for (b = 0; b < n; b += 4 * m) {
		REAL *r = re + b, *i = im + b;
		kv_conv_span4(r, r + m, r + 2 * m, r + 3 * m, i, i + m, i + 2 * m, i + 3 * m, tw, m, inverse);
	}
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
	long m, q;
	if (n > 16384) {
		kv_conv_pass4(re, im, n, n / 4, tw + n / 4, 0);
		for (q = 0; q < n; q += n / 4)
			kv_conv_cyclic(re + q, im + q, n / 4, kr + q, ki + q, tw, forward_only);
		if (!forward_only)
			kv_conv_pass4(re, im, n, n / 4, tw + n / 4, 1);
		return;
	}
	for (m = n; m >= 8;) {
		m /= 4;
		kv_conv_pass4(re, im, n, m, tw + m, 0);
	}
	if (m == 4)
		kv_conv_middle(re, im, n, kr, ki, forward_only);
	else
		kv_conv_middle2(re, im, n, kr, ki, forward_only);
	if (forward_only)
		return;
	for (; m < n; m *= 4)
		kv_conv_pass4(re, im, n, m, tw + m, 1);
}

/* A radix-3 butterfly by decimation in frequency, as KV_CONV_DIF4. */
#define KV_CONV_DIF3(V) { \
	KV_CONV_GET(V, w1r, tw); KV_CONV_GET(V, w1i, tw + m); \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a2r, r2); \
	KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); KV_CONV_GET(V, a2i, i2); \
	const V w2r = w1r * w1r - w1i * w1i, w2i = (w1r + w1r) * w1i; \
	const V sr = a1r + a2r, si = a1i + a2i; \
	const V dr = KV_SQRT3_4 * (a1r - a2r), di = KV_SQRT3_4 * (a1i - a2i); \
	const V ar = a0r - KV_HALF * sr, ai = a0i - KV_HALF * si; \
	const V xr = ar + di, xi = ai - dr, yr = ar - di, yi = ai + dr; \
	a0r += sr; a0i += si; \
	a1r = xr * w1r - xi * w1i; a1i = xr * w1i + xi * w1r; \
	a2r = yr * w2r - yi * w2i; a2i = yr * w2i + yi * w2r; \
	KV_CONV_PUT(r0, a0r); KV_CONV_PUT(r1, a1r); KV_CONV_PUT(r2, a2r); \
	KV_CONV_PUT(i0, a0i); KV_CONV_PUT(i1, a1i); KV_CONV_PUT(i2, a2i); }

/* The inverse of KV_CONV_DIF3 (times 3). */
#define KV_CONV_DIT3(V) { \
	KV_CONV_GET(V, w1r, tw); KV_CONV_GET(V, w1i, tw + m); \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a2r, r2); \
	KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); KV_CONV_GET(V, a2i, i2); \
	const V w2r = w1r * w1r - w1i * w1i, w2i = (w1r + w1r) * w1i; \
	const V xr = a1r * w1r + a1i * w1i, xi = a1i * w1r - a1r * w1i; \
	const V yr = a2r * w2r + a2i * w2i, yi = a2i * w2r - a2r * w2i; \
	const V sr = xr + yr, si = xi + yi; \
	const V dr = KV_SQRT3_4 * (xr - yr), di = KV_SQRT3_4 * (xi - yi); \
	const V ar = a0r - KV_HALF * sr, ai = a0i - KV_HALF * si; \
	a0r += sr; a0i += si; a1r = ar - di; a1i = ai + dr; a2r = ar + di; a2i = ai - dr; \
	KV_CONV_PUT(r0, a0r); KV_CONV_PUT(r1, a1r); KV_CONV_PUT(r2, a2r); \
	KV_CONV_PUT(i0, a0i); KV_CONV_PUT(i1, a1i); KV_CONV_PUT(i2, a2i); }

/* A span of radix-3 butterflies, as kv_conv_span4. */
static void kv_conv_span3(REAL *KV_CONV_RESTRICT r0, REAL *KV_CONV_RESTRICT r1, REAL *KV_CONV_RESTRICT r2,
	REAL *KV_CONV_RESTRICT i0, REAL *KV_CONV_RESTRICT i1, REAL *KV_CONV_RESTRICT i2, const REAL *KV_CONV_RESTRICT tw,
	long m, int inverse)
{
	long j = 0;
	if (inverse) {
#ifdef KV_VECTOR
		for (; j + KV_LANES <= m; j += KV_LANES)
			KV_CONV_DIT3(kv_vec)
#endif
		for (; j < m; ++j)
			KV_CONV_DIT3(REAL)
	} else {
#ifdef KV_VECTOR
		for (; j + KV_LANES <= m; j += KV_LANES)
			KV_CONV_DIF3(kv_vec)
#endif
		for (; j < m; ++j)
			KV_CONV_DIF3(REAL)
	}
}

/* The cyclic convolution of length n = 3^b * 2^a: the radix-3 passes around
   the power-of-two convolutions, depth first, as the power-of-two part. */
static void kv_conv_convolve(REAL *re, REAL *im, long n, const REAL *kr, const REAL *ki, const REAL *tw, int forward_only)
{
	const long m = n / 3;
	long q;
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

/* wr[j] + i*wi[j] = W_n^(k*j) for j < count, from c[y] + i*s[y], the cosine
   and sine of 2*pi*y/n in the first octant (2y <= n/4). */
/* The roots of unity that a call needs without a trigonometric call each:
   W^x for 0 <= x < n as the product hi[x >> s] * lo[x & (2^s - 1)] of two
   tables of about sqrt(n) entries, the product (times scale) formed in
   double so that in single precision it is rounded once. */
typedef struct {
	const double *hr, *hi, *lr, *li;
	long s;
} kv_conv_roots2;

static void kv_conv_root(const kv_conv_roots2 *t, long x, double scale, REAL *re, REAL *im)
{
	const long h = x >> t->s, l = x & ((1L << t->s) - 1);
	*re = (REAL)(scale * (t->hr[h] * t->lr[l] - t->hi[h] * t->li[l]));
	*im = (REAL)(scale * (t->hr[h] * t->li[l] + t->hi[h] * t->lr[l]));
}

/* The two tables of W_n in d (4 * 2^s doubles, 2^(2s) >= n). */
static kv_conv_roots2 kv_conv_roots_of_n(double *d, long n)
{
	const double step = 6.283185307179586476925286766559 / (double)n;
	kv_conv_roots2 t;
	double *hr = d, *hi, *lr, *li;
	long j, s = 0;
	while (1L << s <= (n - 1) >> s)
		++s;
	hi = hr + (1L << s);
	lr = hi + (1L << s);
	li = lr + (1L << s);
	for (j = 0; j << s < n; ++j) {
		hr[j] = cos(step * (double)(j << s));
		hi[j] = -sin(step * (double)(j << s));
	}
	for (j = 0; j < 1L << s; ++j) {
		lr[j] = cos(step * (double)j);
		li[j] = -sin(step * (double)j);
	}
	t.hr = hr;
	t.hi = hi;
	t.lr = lr;
	t.li = li;
	t.s = s;
	return t;
}

/* The same for W_p, taken from the file's table (W_p^x at T[x*twstep]). */
static kv_conv_roots2 kv_conv_roots_of_p(double *d, long p, const complex *T, long twstep)
{
	kv_conv_roots2 t;
	long j, s = 0;
	while (1L << s <= (p - 1) >> s)
		++s;
	t.hr = d;
	t.hi = d + (1L << s);
	t.lr = d + 2 * (1L << s);
	t.li = d + 3 * (1L << s);
	t.s = s;
	for (j = 0; j << s < p; ++j) {
		d[j] = (double)T[(j << s) * twstep].re;
		d[j + (1L << s)] = (double)T[(j << s) * twstep].im;
	}
	for (j = 0; j < 1L << s && j < p; ++j) {
		d[j + 2 * (1L << s)] = (double)T[j * twstep].re;
		d[j + 3 * (1L << s)] = (double)T[j * twstep].im;
	}
	return t;
}

/* Twiddles of the length-n transform: those of a pass of radix r over
   spans of r*m values are W_(r*m)^j for j < m, at t + m, where no other
   pass has its own (m < p2/3 for radix 4, m >= p2 for radix 3, the power
   of two p2 being the part of n below the radix-3 passes). The first pass's
   W_n^j, for j below top = n/3 or n/4, are formed in blocks of 2^s that
   share their high factor (a loop the compiler can vectorise); every other
   pass's are W_n^(k*j) with k*j < top, copied from them. */
static void kv_conv_twiddles(REAL *t, long n, const kv_conv_roots2 *r)
{
	const long top = n % 3 ? n / 4 : n / 3, block = 1L << r->s;
	REAL *KV_CONV_RESTRICT tr = t + top, *KV_CONV_RESTRICT ti = t + 2 * top;
	long p2 = n, m, j, h, l;
	for (h = 0; h * block < top; ++h) {
		const double a = r->hr[h], b = r->hi[h];
		const long e = top - h * block < block ? top - h * block : block;
		const double *KV_CONV_RESTRICT c = r->lr, *KV_CONV_RESTRICT d = r->li;
		for (l = 0; l < e; ++l) {
			tr[h * block + l] = (REAL)(a * c[l] - b * d[l]);
			ti[h * block + l] = (REAL)(a * d[l] + b * c[l]);
		}
	}
	while (p2 % 3 == 0)
		p2 /= 3;
	for (m = p2 / 4; m >= 1; m /= 4)
		for (j = 0; j < m && m != top; ++j) {
			t[m + j] = tr[j * (n / (4 * m))];
			t[2 * m + j] = ti[j * (n / (4 * m))];
		}
	for (m = p2; m < n / 3; m *= 3)
		for (j = 0; j < m; ++j) {
			t[m + j] = tr[j * (n / (3 * m))];
			t[2 * m + j] = ti[j * (n / (3 * m))];
		}
}

/* Whether p - 1 = 3^b * 2^a with 2^a >= 16, the lengths of the transforms
   here: then Rader's algorithm turns the length-p transform into a cyclic
   convolution of length p - 1, half of what Bluestein's needs. */
static int kv_conv_smooth(long n)
{
	if (n % 16)
		return 0;
	while (n % 2 == 0)
		n /= 2;
	while (n % 3 == 0)
		n /= 3;
	return n == 1;
}

/* x^e mod p in double, where every product of two residues below 2^26 is
   exact, so that no integer wider than 32 bits is needed. */
static double kv_conv_powmod(double x, long e, double p)
{
	double r = 1;
	for (; e > 0; e /= 2) {
		if (e % 2)
			r = fmod(r * x, p);
		x = fmod(x * x, p);
	}
	return r;
}

/* For Rader's algorithm, the least primitive root g of p (p - 1 = 3^b * 2^a)
   such that k*g stays below 2^31 for every k < p; 0 if there is none (no
   such prime up to 2^24 needs one above 29). */
static long kv_conv_generator(long p)
{
	long g;
	if (!kv_conv_smooth(p - 1))
		return 0;
	for (g = 2; g <= 2147483647L / p; ++g)
		if (kv_conv_powmod((double)g, (p - 1) / 2, (double)p) != 1 &&
			((p - 1) % 3 || kv_conv_powmod((double)g, (p - 1) / 3, (double)p) != 1))
			return g;
	return 0;
}

/* The convolution length: p - 1 where Rader's algorithm applies, or else,
   for Bluestein's, of the n = 3^b * 2^a >= 2p - 34 with 2^a >= 16, the one of
   least cost, counted per value as 10 for a radix-4 pass, 4 for a radix-2
   pass and 12 for a radix-3 pass (measured). The generator sizes the work
   by the same choice. The cost is counted in double, where it stays exact:
   from p = 3779138 on it passes what a 32-bit long holds. */
static long kv_conv_length(long p)
{
	long best = 0, f;
	double best_cost = 0;
	if (kv_conv_generator(p))
		return p - 1;
	for (f = 16;; f *= 3) {
		long n = f, a = 4, b = 0, g;
		double cost;
		while (n < 2 * p - 34) {
			n *= 2;
			++a;
		}
		for (g = f; g > 16; g /= 3)
			++b;
		cost = (double)n * (double)(a / 2 * 10 + a % 2 * 4 + b * 12);
		if (best == 0 || cost < best_cost) {
			best = n;
			best_cost = cost;
		}
		if (f >= 2 * p - 34)
			return best;
	}
}

/* The parts of the work of radix p, in this order: n values each of the
   kernel's transform (kr, ki), of the data (re, im) and of the twiddles of
   the length-n transform (tw), then p each of the chirp (cr, ci), or for
   Rader's algorithm (n = p - 1) the places of its order in cr and ci (see
   below), exact as REALs (p <= 2^24). The first four start n + 16 values apart, not n, and each
   keeps in its last 16 what kv_conv_finish saves for a short n: with
   n = 2^25 in double, eight streams of a radix-4 pass a multiple of 64 MiB
   apart took three times as long on an AMD EPYC as eight spread over two
   such groups. */
typedef struct {
	long n;
	REAL *kr, *ki, *re, *im, *tw, *cr, *ci;
} kv_conv_work;

static kv_conv_work kv_conv_parts(complex *work, long p)
{
	kv_conv_work w;
	w.n = kv_conv_length(p);
	w.kr = (REAL *)work;
	w.ki = w.kr + w.n + 16;
	w.re = w.ki + w.n + 16;
	w.im = w.re + w.n + 16;
	w.tw = w.im + w.n + 16;
	w.cr = w.tw + w.n;
	w.ci = w.cr + p;
	return w;
}

/* Rader's order: the input x_(g^-m) goes to m, so that output g^m is x_0
   plus entry m of the cyclic convolution with the kernel W_p^(g^m); g^-m is
   g^(n-m). For 0 < k < p the work holds where x_k goes, in cr[k], and which
   entry gives output k, in ci[k]: the input is read and the output written
   in order, and only the data in the work, in cache, in Rader's (for
   65537, 0.3 ms less per transform than reading the input in that order). */

/* The length-p transform of the input in w.re, w.im, chirped (Bluestein) or
   in Rader's order with x_0 in r0, i0 and the sum of all inputs in sr, si:
   the convolution and the chirp or the order again. */
static void kv_conv_finish(complex *out, long os, const kv_conv_work *w, long p, REAL r0, REAL i0, REAL sr, REAL si)
{
	const long e = p - 1 - w->n / 2;
	long j, d;
	if (w->n == p - 1) {
		kv_conv_convolve(w->re, w->im, w->n, w->kr, w->ki, w->tw, 0);
		out[0].re = sr;
		out[0].im = si;
		for (j = 1; j < p; ++j) {
			const long m = (long)w->ci[j];
			out[j * os].re = w->re[m] + r0;
			out[j * os].im = w->im[m] + i0;
		}
		return;
	}
	for (j = p; j < w->n; ++j)
		w->re[j] = w->im[j] = 0;
	for (j = 0; j < e; ++j) { /* the inputs that meet wrong kernel entries */
		w->kr[w->n + j] = w->re[j];
		w->ki[w->n + j] = w->im[j];
		w->re[w->n + j] = w->re[p - e + j];
		w->im[w->n + j] = w->im[p - e + j];
	}
	kv_conv_convolve(w->re, w->im, w->n, w->kr, w->ki, w->tw, 0);
	/* At distance D > n/2 the kernel had conj(w_(n-D)) for conj(w_D): output
	   j + D gets input j, and output j input j + D, times the difference. */
	for (d = w->n / 2 + 1; d < p; ++d) {
		const REAL dr = w->cr[d] - w->cr[w->n - d], di = w->ci[w->n - d] - w->ci[d];
		for (j = 0; j + d < p; ++j) {
			const REAL ar = w->kr[w->n + j], ai = w->ki[w->n + j];
			const REAL br = w->re[w->n + j + d - (p - e)], bi = w->im[w->n + j + d - (p - e)];
			w->re[j + d] += ar * dr - ai * di;
			w->im[j + d] += ar * di + ai * dr;
			w->re[j] += br * dr - bi * di;
			w->im[j] += br * di + bi * dr;
		}
	}
	for (j = 0; j < p; ++j) {
		out[j * os].re = w->re[j] * w->cr[j] - w->im[j] * w->ci[j];
		out[j * os].im = w->re[j] * w->ci[j] + w->im[j] * w->cr[j];
	}
}

/* One pass of radix p over R blocks of p*L entries: entry k + q*L of a block
   is turned by T[q*k*tw], and the p entries k + q*L are transformed in
   place (a prime pass after the first, where the direct butterfly would
   cost p*p per group). work as kv_conv_init left it for p. */
static void kv_conv_pass(complex *d, long p, long L, long R, const complex *T, long tw, complex *work)
{
	const kv_conv_work w = kv_conv_parts(work, p);
	REAL *re = w.re, *im = w.im, *cr = w.cr, *ci = w.ci;
	long b, k, q, e;
	for (b = 0; b < R; b++) {
		complex *x = d + b * p * L;
		for (k = 0; k < L; k++) {
			if (w.n == p - 1) {
				REAL sr = x[k].re, si = x[k].im;
				for (q = 1, e = k * tw; q < p; q++, e += k * tw) {
					const long j = (long)cr[q];
					re[j] = x[k + q * L].re * T[e].re - x[k + q * L].im * T[e].im;
					im[j] = x[k + q * L].re * T[e].im + x[k + q * L].im * T[e].re;
					sr += re[j];
					si += im[j];
				}
				kv_conv_finish(x + k, L, &w, p, x[k].re, x[k].im, sr, si);
				continue;
			}
			for (q = 0, e = 0; q < p; q++, e += k * tw) {
				const REAL ar = x[k + q * L].re * T[e].re - x[k + q * L].im * T[e].im;
				const REAL ai = x[k + q * L].re * T[e].im + x[k + q * L].im * T[e].re;
				re[q] = ar * cr[q] - ai * ci[q];
				im[q] = ar * ci[q] + ai * cr[q];
			}
			kv_conv_finish(x + k, L, &w, p, 0, 0, 0, 0);
		}
	}
}

/* out[k*os] = sum over j < p of in[j*is] * W_p^(j*k), for k < p; in and out
   do not overlap; work as kv_conv_init left it (it stays so). */
static void kv_conv_dft(complex *out, long os, const complex *in, long is, complex *work, long p)
{
	const kv_conv_work w = kv_conv_parts(work, p);
	REAL *re = w.re, *im = w.im, *cr = w.cr, *ci = w.ci;
	long j;
	if (w.n == p - 1) {
		REAL sr = in[0].re, si = in[0].im;
		for (j = 1; j < p; ++j) {
			const long m = (long)cr[j];
			re[m] = in[j * is].re;
			im[m] = in[j * is].im;
			sr += in[j * is].re;
			si += in[j * is].im;
		}
		kv_conv_finish(out, os, &w, p, in[0].re, in[0].im, sr, si);
		return;
	}
	for (j = 0; j < p; ++j) {
		re[j] = in[j * is].re * cr[j] - in[j * is].im * ci[j];
		im[j] = in[j * is].re * ci[j] + in[j * is].im * cr[j];
	}
	kv_conv_finish(out, os, &w, p, 0, 0, 0, 0);
}

/* The same for input that has no imaginary part. */
static void kv_conv_dft_real(complex *out, long os, const REAL *in, long is, complex *work, long p)
{
	const kv_conv_work w = kv_conv_parts(work, p);
	REAL *re = w.re, *im = w.im, *cr = w.cr, *ci = w.ci;
	long j;
	if (w.n == p - 1) {
		REAL sr = in[0];
		for (j = 1; j < p; ++j) {
			const long m = (long)cr[j];
			re[m] = in[j * is];
			im[m] = 0;
			sr += in[j * is];
		}
		kv_conv_finish(out, os, &w, p, in[0], 0, sr, 0);
		return;
	}
	for (j = 0; j < p; ++j) {
		re[j] = in[j * is] * cr[j];
		im[j] = in[j * is] * ci[j];
	}
	kv_conv_finish(out, os, &w, p, 0, 0, 0, 0);
}

/* Prepares the work for radix p (see kv_conv_parts), W_p^x being
   tw[x*twstep] for x < p. */
static void kv_conv_init(complex *work, long p, const complex *tw, long twstep)
{
	const kv_conv_work w = kv_conv_parts(work, p);
	const long n = w.n, g = n == p - 1 ? kv_conv_generator(p) : 0;
	REAL *kr = w.kr, *ki = w.ki, *t = w.tw, *cr = w.cr, *ci = w.ci;
	/* The tables of roots, for now where the data and the twiddles go:
	   4 * 2^s doubles each, 2^s < 2 * sqrt(n), which fits in the n REALs of
	   the twiddles from n = 192 on (the shortest length here); the data's
	   2n + 32 also hold Rader's 2 * 2^s powers of g. */
	const kv_conv_roots2 rn = kv_conv_roots_of_n((double *)w.re, n);
	const kv_conv_roots2 rp = kv_conv_roots_of_p((double *)w.tw, p, tw, twstep);
	const double scale = 1.0 / (double)n;
	long q = 0, d = (p + 1) / 2, j;

	/* used only where REAL input is transformed and where a prime pass follows the first */
	(void)kv_conv_dft_real;
	(void)kv_conv_pass;

	if (g) {
		/* Rader's order from g^j mod p, each the product of two powers of g
		   (g^(j - l) and g^l, l the low s bits of j), taken mod p in
		   double, where the product of two residues is exact: no chain of
		   one step per j, and no integer wider than 32 bits. The kernel
		   W_p^(g^j), scaled by 1/n for the inverse transform. */
		double *gh = (double *)w.re + 4 * (1L << rn.s), *gl = gh + (1L << rn.s);
		const double dp = (double)p, inv = 1 / dp;
		const long s = rn.s, mask = (1L << s) - 1;
		for (j = 0, gl[0] = 1; j < mask; ++j)
			gl[j + 1] = fmod(gl[j] * (double)g, dp);
		for (j = 0, gh[0] = 1; (j + 1) << s < n; ++j)
			gh[j + 1] = fmod(gh[j] * fmod(gl[mask] * (double)g, dp), dp);
		for (j = 0; j < n / 2; ++j) {
			const double x = gh[j >> s] * gl[j & mask];
			double r = x - dp * (double)(long)(x * inv);
			if (r < 0)
				r += dp;
			else if (r >= dp)
				r -= dp;
			q = (long)r;
			cr[q] = (REAL)(j == 0 ? 0 : n - j);
			ci[q] = (REAL)j;
			kv_conv_root(&rp, q, scale, kr + j, ki + j);
			/* g^(n/2) = -1: the second half is p - q, its root conj */
			cr[p - q] = (REAL)(n / 2 - j);
			ci[p - q] = (REAL)(j + n / 2);
			kr[j + n / 2] = kr[j];
			ki[j + n / 2] = -ki[j];
		}
	} else {
		/* The chirp w_j = W_p^(j*j/2): j*j/2 is h*j*j mod p with h = (p+1)/2,
		   stepped by its differences so that no product is formed. */
		for (j = 0; j < p; ++j) {
			kv_conv_root(&rp, q, 1, cr + j, ci + j);
			q += d;
			if (q >= p)
				q -= p;
			if (++d == p)
				d = 0;
		}
		/* The kernel conj(w_|j|) for -p < j < p, wrapped around n, scaled
		   by 1/n for the inverse transform. */
		for (j = 0; j < n; ++j) {
			const long a = j < n - j ? j : n - j; /* |j| on the circle */
			kr[j] = a < p ? cr[a] * (REAL)scale : 0;
			ki[j] = a < p ? -ci[a] * (REAL)scale : 0;
		}
	}
	kv_conv_twiddles(t, n, &rn);
	kv_conv_convolve(kr, ki, n, kr, ki, t, 1);
}
