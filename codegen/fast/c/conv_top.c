/* The top passes of Bluestein's convolutions (see convolution.c), as the
   fast style's generated files carry them after conv_cyclic.c. The build
   gives the generator the text after the marker line below, with REAL,
   KV_HALF and KV_SQRT3_4 as placeholders that it fills in for the file's
   precision; the lines up to the marker let it compile on its own. */
#include "conv_cyclic.c"

/* ==== generated files carry this file from here on ==== */
/* The top pass of a convolution whose input is zero from entry c on and
   whose output is wanted below c only, with c <= 2m: the forward radix-4
   or radix-3 butterfly reads its first two quarters or thirds only (the
   others are zero), the inverse writes its first two only. That saves the
   zeros' writes and reads and half the top inverse pass's writes, a
   quarter of the memory traffic of the top passes, which go over the
   whole length out of cache. */
#define KV_CONV_TOP4(V) { \
	KV_CONV_GET(V, w1r, tw); KV_CONV_GET(V, w1i, tw + m); \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); \
	const V w2r = w1r * w1r - w1i * w1i, w2i = (w1r + w1r) * w1i; \
	const V w3r = w2r * w1r - w2i * w1i, w3i = w2r * w1i + w2i * w1r; \
	const V xr = a0r + a1i, xi = a0i - a1r, yr = a0r - a1r, yi = a0i - a1i, zr = a0r - a1i, zi = a0i + a1r; \
	const V b0r = a0r + a1r, b0i = a0i + a1i; \
	const V b1r = xr * w1r - xi * w1i, b1i = xr * w1i + xi * w1r; \
	const V b2r = yr * w2r - yi * w2i, b2i = yr * w2i + yi * w2r; \
	const V b3r = zr * w3r - zi * w3i, b3i = zr * w3i + zi * w3r; \
	KV_CONV_PUT(r0, b0r); KV_CONV_PUT(r1, b1r); KV_CONV_PUT(r2, b2r); KV_CONV_PUT(r3, b3r); \
	KV_CONV_PUT(i0, b0i); KV_CONV_PUT(i1, b1i); KV_CONV_PUT(i2, b2i); KV_CONV_PUT(i3, b3i); }
#define KV_CONV_TOP4I(V) { \
	KV_CONV_DIT4_PARTS(V) \
	const V b0r = ar + cr, b0i = ai + ci, b1r = br - di, b1i = bi + dr; \
	KV_CONV_PUT(r0, b0r); KV_CONV_PUT(r1, b1r); KV_CONV_PUT(i0, b0i); KV_CONV_PUT(i1, b1i); }
#define KV_CONV_TOP3(V) { \
	KV_CONV_GET(V, w1r, tw); KV_CONV_GET(V, w1i, tw + m); \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); \
	const V w2r = w1r * w1r - w1i * w1i, w2i = (w1r + w1r) * w1i; \
	const V dr = KV_SQRT3_4 * a1r, di = KV_SQRT3_4 * a1i; \
	const V ar = a0r - KV_HALF * a1r, ai = a0i - KV_HALF * a1i; \
	const V xr = ar + di, xi = ai - dr, yr = ar - di, yi = ai + dr; \
	const V b0r = a0r + a1r, b0i = a0i + a1i; \
	const V b1r = xr * w1r - xi * w1i, b1i = xr * w1i + xi * w1r; \
	const V b2r = yr * w2r - yi * w2i, b2i = yr * w2i + yi * w2r; \
	KV_CONV_PUT(r0, b0r); KV_CONV_PUT(r1, b1r); KV_CONV_PUT(r2, b2r); \
	KV_CONV_PUT(i0, b0i); KV_CONV_PUT(i1, b1i); KV_CONV_PUT(i2, b2i); }
#define KV_CONV_TOP3I(V) { \
	KV_CONV_DIT3_PARTS(V) \
	const V b0r = a0r + sr, b0i = a0i + si, b1r = ar - di, b1i = ai + dr; \
	KV_CONV_PUT(r0, b0r); KV_CONV_PUT(r1, b1r); KV_CONV_PUT(i0, b0i); KV_CONV_PUT(i1, b1i); }
/* The same for radix 5, where c <= 3m: the last two fifths are zero, the
   inverse writes the first three only. */
#define KV_CONV_TOP5(V) { \
	KV_CONV_TW5(V) \
	KV_CONV_GET(V, a0r, r0); KV_CONV_GET(V, a1r, r1); KV_CONV_GET(V, a2r, r2); \
	KV_CONV_GET(V, a0i, i0); KV_CONV_GET(V, a1i, i1); KV_CONV_GET(V, a2i, i2); { \
	const V s1r = a1r, s1i = a1i, d1r = a1r, d1i = a1i, s2r = a2r, s2i = a2i, d2r = a2r, d2i = a2i; \
	KV_CONV_CORE5(V, a0r, a0i, +) { \
	const V c1r = b1r * w1r - b1i * w1i, c1i = b1r * w1i + b1i * w1r; \
	const V c2r = b2r * w2r - b2i * w2i, c2i = b2r * w2i + b2i * w2r; \
	const V c3r = b3r * w3r - b3i * w3i, c3i = b3r * w3i + b3i * w3r; \
	const V c4r = b4r * w4r - b4i * w4i, c4i = b4r * w4i + b4i * w4r; \
	KV_CONV_PUT(r0, b0r); KV_CONV_PUT(r1, c1r); KV_CONV_PUT(r2, c2r); KV_CONV_PUT(r3, c3r); KV_CONV_PUT(r4, c4r); \
	KV_CONV_PUT(i0, b0i); KV_CONV_PUT(i1, c1i); KV_CONV_PUT(i2, c2i); KV_CONV_PUT(i3, c3i); KV_CONV_PUT(i4, c4i); } } }
#define KV_CONV_TOP5I(V) { \
	KV_CONV_DIT5_PARTS(V) \
	(void)b3r; (void)b3i; (void)b4r; (void)b4i; \
	KV_CONV_PUT(r0, b0r); KV_CONV_PUT(r1, b1r); KV_CONV_PUT(r2, b2r); \
	KV_CONV_PUT(i0, b0i); KV_CONV_PUT(i1, b1i); KV_CONV_PUT(i2, b2i); }

static void kv_conv_top(REAL *KV_CONV_RESTRICT r0, REAL *KV_CONV_RESTRICT r1, REAL *KV_CONV_RESTRICT r2,
	REAL *KV_CONV_RESTRICT r3, REAL *KV_CONV_RESTRICT i0, REAL *KV_CONV_RESTRICT i1, REAL *KV_CONV_RESTRICT i2,
	REAL *KV_CONV_RESTRICT i3, const REAL *KV_CONV_RESTRICT tw, long m, int radix, int inverse)
{
	long j = 0;
	if (radix == 3 && inverse)
		KV_CONV_LOOP(KV_CONV_TOP3I)
	else if (radix == 3)
		KV_CONV_LOOP(KV_CONV_TOP3)
	else if (inverse)
		KV_CONV_LOOP(KV_CONV_TOP4I)
	else
		KV_CONV_LOOP(KV_CONV_TOP4)
}

static void kv_conv_top5(REAL *KV_CONV_RESTRICT r0, REAL *KV_CONV_RESTRICT r1, REAL *KV_CONV_RESTRICT r2,
	REAL *KV_CONV_RESTRICT r3, REAL *KV_CONV_RESTRICT r4, REAL *KV_CONV_RESTRICT i0, REAL *KV_CONV_RESTRICT i1,
	REAL *KV_CONV_RESTRICT i2, REAL *KV_CONV_RESTRICT i3, REAL *KV_CONV_RESTRICT i4, const REAL *KV_CONV_RESTRICT tw,
	long m, int inverse)
{
	long j = 0;
	if (inverse)
		KV_CONV_LOOP(KV_CONV_TOP5I)
	else
		KV_CONV_LOOP(KV_CONV_TOP5)
}

/* kv_conv_convolve for input zero from entry c on and output wanted below
   c only, with a first pass of radix 5 (n = 5^c * 2^a): the last two fifths
   are zero where c <= 3m. */
static void kv_conv_convolve_part5(REAL *re, REAL *im, long n, const REAL *kr, const REAL *ki, const REAL *tw, long c)
{
	const long m = n / 5;
	long q;
	if (c > 3 * m) {
		for (q = c; q < n; ++q)
			re[q] = im[q] = 0;
		kv_conv_convolve(re, im, n, kr, ki, tw, 0);
		return;
	}
	for (q = c; q < 3 * m; ++q)
		re[q] = im[q] = 0;
	kv_conv_top5(re, re + m, re + 2 * m, re + 3 * m, re + 4 * m, im, im + m, im + 2 * m, im + 3 * m, im + 4 * m, tw + m,
		m, 0);
	for (q = 0; q < n; q += m)
		kv_conv_convolve(re + q, im + q, m, kr + q, ki + q, tw, 0);
	kv_conv_top5(re, re + m, re + 2 * m, re + 3 * m, re + 4 * m, im, im + m, im + 2 * m, im + 3 * m, im + 4 * m, tw + m,
		m, 1);
}

/* kv_conv_convolve for input zero from entry c on and output wanted below
   c only (Bluestein's, c = p). */
static void kv_conv_convolve_part(REAL *re, REAL *im, long n, const REAL *kr, const REAL *ki, const REAL *tw, long c)
{
	const long radix = n % 3 ? 4 : 3, m = n / radix;
	REAL *r3 = radix == 4 ? re + 3 * m : re, *i3 = radix == 4 ? im + 3 * m : im;
	long q;
	if (KV_CONV_RADIX5 && n % 3 && n % 5 == 0) {
		kv_conv_convolve_part5(re, im, n, kr, ki, tw, c);
		return;
	}
	if (c > 2 * m) {
		for (q = c; q < n; ++q)
			re[q] = im[q] = 0;
		kv_conv_convolve(re, im, n, kr, ki, tw, 0);
		return;
	}
	for (q = c; q < 2 * m; ++q)
		re[q] = im[q] = 0;
	kv_conv_top(re, re + m, re + 2 * m, r3, im, im + m, im + 2 * m, i3, tw + m, m, (int)radix, 0);
	for (q = 0; q < n; q += m)
		kv_conv_convolve(re + q, im + q, m, kr + q, ki + q, tw, 0);
	kv_conv_top(re, re + m, re + 2 * m, r3, im, im + m, im + 2 * m, i3, tw + m, m, (int)radix, 1);
}
