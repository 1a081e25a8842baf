/* The butterflies of the length-n transforms of the large prime radices
   (see convolution.c), as the fast style's generated files carry them. The
   build gives the generator the text after the marker line below, with
   REAL, KV_HALF, KV_SQRT3_4, KV_QUARTER, KV_SQRT5_4, KV_SIN5_1 and
   KV_SIN5_2 as placeholders that the generator fills in for the file's
   precision. The lines up to the marker only let this file
   compile on its own. */
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
#define KV_QUARTER ((REAL)0.25)
#define KV_SQRT5_4 ((REAL)0.55901699437494742410)
#define KV_SIN5_1 ((REAL)0.95105651629515357212)
#define KV_SIN5_2 ((REAL)0.58778525229247312917)

typedef struct { REAL re, im; } complex;

/* ==== generated files carry this file from here on ==== */
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

/* Whether the lengths n may have radix-5 passes (n = 5^c * 3^b * 2^a), in
   double precision only: there a transform of 200006 (2 * 100003, by
   5^5 * 2^6 instead of 27 * 2^13) took 0.8 times as long with them and one
   of 99998 (2 * 49999, 5^5 * 2^5 instead of 27 * 2^12) 0.95 times; in
   single 99998 took 1.3 times as long, with 15 % more instructions. Where
   it is 0 the compiler drops the radix-5 code. */
#define KV_CONV_RADIX5 (sizeof(REAL) == 8)

/* Butterflies B from j to m: on vectors while KV_LANES remain, then on REALs. */
#ifdef KV_VECTOR
#define KV_CONV_LOOP(B) { \
	for (; j + KV_LANES <= m; j += KV_LANES) \
		B(kv_vec) \
	for (; j < m; ++j) \
		B(REAL) }
#else
#define KV_CONV_LOOP(B) \
	for (; j < m; ++j) \
		B(REAL)
#endif

/* One radix-4 butterfly of a span by decimation in frequency: the four
   quarters of 4m values, output r of butterfly j multiplied by W_4m^(r*j),
   with W_4m^j read from tw (m values each of the two parts) and its square
   and cube multiplied out, which vectorised costs less than loading them.
   The twiddles are read and formed only once the butterfly is done, and
   each output stored as soon as it is turned: formed first, they kept AVX2's
   16 registers too full (radix 5: 5 % more instructions in its passes). */
#define KV_CONV_DIF4(V) { \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a2r, r2); KV_CONV_GET(V, a3r, r3); \
	KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); KV_CONV_GET(V, a2i, i2); KV_CONV_GET(V, a3i, i3); { \
	const V ar = a0r + a2r, ai = a0i + a2i, br = a0r - a2r, bi = a0i - a2i; \
	const V cr = a1r + a3r, ci = a1i + a3i, dr = a1r - a3r, di = a1i - a3i; \
	const V xr = br + di, xi = bi - dr, yr = ar - cr, yi = ai - ci, zr = br - di, zi = bi + dr; \
	a0r = ar + cr; a0i = ai + ci; \
	KV_CONV_PUT(r0, a0r); KV_CONV_PUT(i0, a0i); { \
	KV_CONV_GET(V, w1r, tw); KV_CONV_GET(V, w1i, tw + m); { \
	const V w2r = w1r * w1r - w1i * w1i, w2i = (w1r + w1r) * w1i; \
	const V w3r = w2r * w1r - w2i * w1i, w3i = w2r * w1i + w2i * w1r; \
	a1r = xr * w1r - xi * w1i; a1i = xr * w1i + xi * w1r; \
	a2r = yr * w2r - yi * w2i; a2i = yr * w2i + yi * w2r; \
	a3r = zr * w3r - zi * w3i; a3i = zr * w3i + zi * w3r; \
	KV_CONV_PUT(r1, a1r); KV_CONV_PUT(r2, a2r); KV_CONV_PUT(r3, a3r); \
	KV_CONV_PUT(i1, a1i); KV_CONV_PUT(i2, a2i); KV_CONV_PUT(i3, a3i); } } } }

/* The inverse of KV_CONV_DIF4 (times 4): conjugate twiddles first, then the
   inverse butterfly (decimation in time), whose outputs are a + c, b - d i,
   a - c and b + d i (the top pass writes the first two only). */
#define KV_CONV_DIT4_PARTS(V) \
	KV_CONV_GET(V, w1r, tw); KV_CONV_GET(V, w1i, tw + m); \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a2r, r2); KV_CONV_GET(V, a3r, r3); \
	KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); KV_CONV_GET(V, a2i, i2); KV_CONV_GET(V, a3i, i3); \
	const V w2r = w1r * w1r - w1i * w1i, w2i = (w1r + w1r) * w1i; \
	const V w3r = w2r * w1r - w2i * w1i, w3i = w2r * w1i + w2i * w1r; \
	const V xr = a1r * w1r + a1i * w1i, xi = a1i * w1r - a1r * w1i; \
	const V yr = a2r * w2r + a2i * w2i, yi = a2i * w2r - a2r * w2i; \
	const V zr = a3r * w3r + a3i * w3i, zi = a3i * w3r - a3r * w3i; \
	const V ar = a0r + yr, ai = a0i + yi, br = a0r - yr, bi = a0i - yi; \
	const V cr = xr + zr, ci = xi + zi, dr = xr - zr, di = xi - zi;
#define KV_CONV_DIT4(V) { \
	KV_CONV_DIT4_PARTS(V) \
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
	if (inverse)
		KV_CONV_LOOP(KV_CONV_DIT4)
	else
		KV_CONV_LOOP(KV_CONV_DIF4)
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

/* The inverse of KV_CONV_DIF3 (times 3): outputs a0 + s, a - d i and
   a + d i, for KV_CONV_DIT3 and for the top pass that writes two of them. */
#define KV_CONV_DIT3_PARTS(V) \
	KV_CONV_GET(V, w1r, tw); KV_CONV_GET(V, w1i, tw + m); \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a2r, r2); \
	KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); KV_CONV_GET(V, a2i, i2); \
	const V w2r = w1r * w1r - w1i * w1i, w2i = (w1r + w1r) * w1i; \
	const V xr = a1r * w1r + a1i * w1i, xi = a1i * w1r - a1r * w1i; \
	const V yr = a2r * w2r + a2i * w2i, yi = a2i * w2r - a2r * w2i; \
	const V sr = xr + yr, si = xi + yi; \
	const V dr = KV_SQRT3_4 * (xr - yr), di = KV_SQRT3_4 * (xi - yi); \
	const V ar = a0r - KV_HALF * sr, ai = a0i - KV_HALF * si;
#define KV_CONV_DIT3(V) { \
	KV_CONV_DIT3_PARTS(V) \
	a0r += sr; a0i += si; a1r = ar - di; a1i = ai + dr; a2r = ar + di; a2i = ai - dr; \
	KV_CONV_PUT(r0, a0r); KV_CONV_PUT(r1, a1r); KV_CONV_PUT(r2, a2r); \
	KV_CONV_PUT(i0, a0i); KV_CONV_PUT(i1, a1i); KV_CONV_PUT(i2, a2i); }

/* A span of radix-3 butterflies, as kv_conv_span4. */
static void kv_conv_span3(REAL *KV_CONV_RESTRICT r0, REAL *KV_CONV_RESTRICT r1, REAL *KV_CONV_RESTRICT r2,
	REAL *KV_CONV_RESTRICT i0, REAL *KV_CONV_RESTRICT i1, REAL *KV_CONV_RESTRICT i2, const REAL *KV_CONV_RESTRICT tw,
	long m, int inverse)
{
	long j = 0;
	if (inverse)
		KV_CONV_LOOP(KV_CONV_DIT3)
	else
		KV_CONV_LOOP(KV_CONV_DIF3)
}

/* A radix-5 butterfly by decimation in frequency, as KV_CONV_DIF4: with
   s = a1 + a4 + a2 + a3, output 1 and 4 are a0 - s/4 + sqrt(5)/4 *
   (a1 + a4 - a2 - a3) -+ i * (sin(2pi/5) * (a1 - a4) + sin(4pi/5) * (a2 - a3)),
   outputs 2 and 3 the same with the other sign of sqrt(5) and the sines
   swapped, the second negated. */
#define KV_CONV_BFLY5(V, a0r, a0i, a1r, a1i, a2r, a2i, a3r, a3i, a4r, a4i, sign) \
	const V s1r = a1r + a4r, s1i = a1i + a4i, d1r = a1r - a4r, d1i = a1i - a4i; \
	const V s2r = a2r + a3r, s2i = a2i + a3i, d2r = a2r - a3r, d2i = a2i - a3i; \
	KV_CONV_CORE5(V, a0r, a0i, sign)
/* The rest, from s1 = a1 + a4, d1 = a1 - a4, s2 = a2 + a3 and d2 = a2 - a3. */
#define KV_CONV_CORE5(V, a0r, a0i, sign) \
	const V sr = s1r + s2r, si = s1i + s2i; \
	const V cr = a0r - KV_QUARTER * sr, ci = a0i - KV_QUARTER * si; \
	const V kr = KV_SQRT5_4 * (s1r - s2r), ki = KV_SQRT5_4 * (s1i - s2i); \
	const V t1r = cr + kr, t1i = ci + ki, t2r = cr - kr, t2i = ci - ki; \
	const V u1r = sign (KV_SIN5_1 * d1r + KV_SIN5_2 * d2r), u1i = sign (KV_SIN5_1 * d1i + KV_SIN5_2 * d2i); \
	const V u2r = sign (KV_SIN5_2 * d1r - KV_SIN5_1 * d2r), u2i = sign (KV_SIN5_2 * d1i - KV_SIN5_1 * d2i); \
	const V b0r = a0r + sr, b0i = a0i + si; \
	const V b1r = t1r + u1i, b1i = t1i - u1r, b4r = t1r - u1i, b4i = t1i + u1r; \
	const V b2r = t2r + u2i, b2i = t2i - u2r, b3r = t2r - u2i, b3i = t2i + u2r;

/* The twiddles of a radix-5 butterfly: W^1 and W^2 read (tw and tw + 2m,
   m values each of the two parts), W^3 and W^4 their products. With W^2
   the square of W^1 as for radix 4, p = 49999 by 5^5 * 2^5 had an rms
   error 1.2 times that of 3^8 * 2^4; with W^2 read, 0.9 times. */
#define KV_CONV_TW5(V) \
	KV_CONV_GET(V, w1r, tw); KV_CONV_GET(V, w1i, tw + m); \
	KV_CONV_GET(V, w2r, tw + 2 * m); KV_CONV_GET(V, w2i, tw + 3 * m); \
	const V w3r = w2r * w1r - w2i * w1i, w3i = w2r * w1i + w2i * w1r; \
	const V w4r = w2r * w2r - w2i * w2i, w4i = (w2r + w2r) * w2i;

#define KV_CONV_DIF5(V) { \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a2r, r2); KV_CONV_GET(V, a3r, r3); \
	KV_CONV_GET(V, a4r, r4); KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); KV_CONV_GET(V, a2i, i2); \
	KV_CONV_GET(V, a3i, i3); KV_CONV_GET(V, a4i, i4); { \
	KV_CONV_BFLY5(V, a0r, a0i, a1r, a1i, a2r, a2i, a3r, a3i, a4r, a4i, +) \
	KV_CONV_PUT(r0, b0r); KV_CONV_PUT(i0, b0i); { \
	KV_CONV_TW5(V) \
	a1r = b1r * w1r - b1i * w1i; a1i = b1r * w1i + b1i * w1r; \
	KV_CONV_PUT(r1, a1r); KV_CONV_PUT(i1, a1i); \
	a2r = b2r * w2r - b2i * w2i; a2i = b2r * w2i + b2i * w2r; \
	KV_CONV_PUT(r2, a2r); KV_CONV_PUT(i2, a2i); \
	a3r = b3r * w3r - b3i * w3i; a3i = b3r * w3i + b3i * w3r; \
	KV_CONV_PUT(r3, a3r); KV_CONV_PUT(i3, a3i); \
	a4r = b4r * w4r - b4i * w4i; a4i = b4r * w4i + b4i * w4r; \
	KV_CONV_PUT(r4, a4r); KV_CONV_PUT(i4, a4i); } } }

/* The inverse of KV_CONV_DIF5 (times 5) up to its outputs b0 to b4, which
   Bluestein's top pass writes only in part. */
#define KV_CONV_DIT5_PARTS(V) \
	KV_CONV_TW5(V) \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a2r, r2); KV_CONV_GET(V, a3r, r3); \
	KV_CONV_GET(V, a4r, r4); KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); KV_CONV_GET(V, a2i, i2); \
	KV_CONV_GET(V, a3i, i3); KV_CONV_GET(V, a4i, i4); \
	const V x1r = a1r * w1r + a1i * w1i, x1i = a1i * w1r - a1r * w1i; \
	const V x2r = a2r * w2r + a2i * w2i, x2i = a2i * w2r - a2r * w2i; \
	const V x3r = a3r * w3r + a3i * w3i, x3i = a3i * w3r - a3r * w3i; \
	const V x4r = a4r * w4r + a4i * w4i, x4i = a4i * w4r - a4r * w4i; \
	KV_CONV_BFLY5(V, a0r, a0i, x1r, x1i, x2r, x2i, x3r, x3i, x4r, x4i, -)

#define KV_CONV_DIT5(V) { \
	KV_CONV_DIT5_PARTS(V) \
	KV_CONV_PUT(r0, b0r); KV_CONV_PUT(r1, b1r); KV_CONV_PUT(r2, b2r); KV_CONV_PUT(r3, b3r); KV_CONV_PUT(r4, b4r); \
	KV_CONV_PUT(i0, b0i); KV_CONV_PUT(i1, b1i); KV_CONV_PUT(i2, b2i); KV_CONV_PUT(i3, b3i); KV_CONV_PUT(i4, b4i); }

/* A span of radix-5 butterflies, as kv_conv_span4. */
static void kv_conv_span5(REAL *KV_CONV_RESTRICT r0, REAL *KV_CONV_RESTRICT r1, REAL *KV_CONV_RESTRICT r2,
	REAL *KV_CONV_RESTRICT r3, REAL *KV_CONV_RESTRICT r4, REAL *KV_CONV_RESTRICT i0, REAL *KV_CONV_RESTRICT i1,
	REAL *KV_CONV_RESTRICT i2, REAL *KV_CONV_RESTRICT i3, REAL *KV_CONV_RESTRICT i4, const REAL *KV_CONV_RESTRICT tw,
	long m, int inverse)
{
	long j = 0;
	if (inverse)
		KV_CONV_LOOP(KV_CONV_DIT5)
	else
		KV_CONV_LOOP(KV_CONV_DIF5)
}
