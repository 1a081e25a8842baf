// The odd radices without a butterfly of their own: one loop over the roots
// of unity serves every such radix up to kScratchRadixLimit, as a leaf and
// as a pass; a prime above it can only be the leaf, done directly.
#include <string>

#include "codegen/fast/function_texts.h"

namespace {

const char* const kMul = R"(
static KV_INLINE complex kv_mul(complex a, complex w)
{
	complex r;
	r.re = a.re * w.re - a.im * w.im;
	r.im = a.re * w.im + a.im * w.re;
	return r;
}
)";

// The outputs of an odd radix p from x0 and the sums and differences of the
// entries j and p - j: with c and s the cosine and sine of 2 pi j k / p,
// y[k] = A - iB and y[p - k] = A + iB, A = x0 + sum c t[j], B = sum s u[j].
const char* const kDftOdd = R"(
/* One butterfly of odd radix p: y[k * ys] for k < p, from x0 = x[0] and, for
   0 < j < p / 2, t[j] = x[j] + x[p - j] and u[j] = x[j] - x[p - j].
   T[x * ws] is exp(-2 pi i x / p). */
static void kv_dft_odd(complex *y, long ys, complex x0, const complex *t, const complex *u, long p,
	const complex *T, long ws)
{
	long h = (p - 1) / 2, j, k, e;
	@{real} ar = x0.re, ai = x0.im, br, bi, c, s;
	for (j = 1; j <= h; j++) {
		ar += t[j].re;
		ai += t[j].im;
	}
	y[0].re = ar;
	y[0].im = ai;
	for (k = 1; k <= h; k++) {
		ar = x0.re; ai = x0.im; br = @{zero}; bi = @{zero};
		e = 0;
		for (j = 1; j <= h; j++) {
			e += k;
			if (e >= p) e -= p;
			c = T[e * ws].re;
			s = -T[e * ws].im;
			ar += c * t[j].re;
			ai += c * t[j].im;
			br += s * u[j].re;
			bi += s * u[j].im;
		}
		y[k * ys].re = ar + bi;
		y[k * ys].im = ai - br;
		y[(p - k) * ys].re = ar - bi;
		y[(p - k) * ys].im = ai + br;
	}
}
)";

// An odd radix up to the scratch limit as a leaf: its entries gathered into
// the stack arrays of the root loop. x is read as pairs (re, im) or as reals.
const char* const kLeafOdd = R"(
static void kv_leaf_odd(complex *y, const @{real} *x, long s, long p, const complex *T, long ws)
{
	complex t[250], u[250], x0;
	long j;
	x0.re = x[0]; x0.im = x[1];
	for (j = 1; 2 * j < p; j++) {
		const @{real} *a = x + j * s, *c = x + (p - j) * s;
		t[j].re = a[0] + c[0]; t[j].im = a[1] + c[1];
		u[j].re = a[0] - c[0]; u[j].im = a[1] - c[1];
	}
	kv_dft_odd(y, 1, x0, t, u, p, T, ws);
}
)";

// Real input: the sums and differences are real, and so are the sums over
// them that make an output and its conjugate, half the work of
// kv_dft_odd. The roots come from the table once per call.
const char* const kLeafOddReal = R"(
static void kv_leaf_oddr(complex *y, const @{real} *x, long s, long p, const complex *T, long ws)
{
	@{real} t[250], u[250], c[500], w[500], ar, br;
	long h = (p - 1) / 2, j, k, e;
	ar = x[0];
	for (j = 1; j <= h; j++) {
		t[j] = x[j * s] + x[(p - j) * s];
		u[j] = x[j * s] - x[(p - j) * s];
		ar += t[j];
	}
	y[0].re = ar;
	y[0].im = @{zero};
	for (e = 1; e < p; e++) {
		c[e] = T[e * ws].re;
		w[e] = T[e * ws].im;
	}
	for (k = 1; k <= h; k++) {
		ar = x[0];
		br = @{zero};
		e = 0;
		for (j = 1; j <= h; j++) {
			e += k;
			if (e >= p) e -= p;
			ar += c[e] * t[j];
			br += w[e] * u[j];
		}
		y[k].re = ar;
		y[k].im = br;
		y[p - k].re = ar;
		y[p - k].im = -br;
	}
}
)";

const char* const kPassOdd = R"(
/* The butterfly of column k of a block x of p * L entries: entry k + q L
   turned by T[q k tw], the sums and differences of the pairs q, p - q
   formed, the outputs written in place. */
static void kv_odd_column(complex *x, long k, long p, long L, const complex *T, long tw, long ws)
{
	complex t[250], u[250], a, c;
	long j;
	for (j = 1; 2 * j < p; j++) {
		a = kv_mul(x[k + j * L], T[j * k * tw]);
		c = kv_mul(x[k + (p - j) * L], T[(p - j) * k * tw]);
		t[j].re = a.re + c.re; t[j].im = a.im + c.im;
		u[j].re = a.re - c.re; u[j].im = a.im - c.im;
	}
	kv_dft_odd(x + k, L, x[k], t, u, p, T, ws);
}

/* One pass of odd radix p over blocks of p * L entries: entry k + q L of a
   block is turned by T[q k tw] before the butterfly. */
static KV_PASS void kv_pass_odd(complex *d, long p, long L, long R, const complex *T, long tw, long ws)
{
	long b, k;
	for (b = 0; b < R; b++)
		for (k = 0; k < L; k++)
			kv_odd_column(d + b * p * L, k, p, L, T, tw, ws);
}
)";

// A prime above the scratch limit: the sums and differences are formed again
// for every output pair, straight from the input, so that nothing of size p
// is kept. This is the one call site of the leaf, where a faster method for
// large primes takes over when it has its work memory.
const char* const kLeafDirect = R"(
/* The direct transform of prime length p, reading x[j * s] (pairs re, im):
   y[k] for k < p, two outputs k and p - k per sweep over the input. */
static void kv_leaf_direct(complex *y, const @{real} *x, long s, long p, const complex *T, long ws)
{
	long h = (p - 1) / 2, j, k, e;
	@{real} ar = x[0], ai = x[1], br, bi, c, w, tr, ti, ur, ui;
	const @{real} *a, *z;
	for (j = 1; j < p; j++) {
		ar += x[j * s];
		ai += x[j * s + 1];
	}
	y[0].re = ar;
	y[0].im = ai;
	for (k = 1; k <= h; k++) {
		ar = x[0]; ai = x[1]; br = @{zero}; bi = @{zero};
		e = 0;
		for (j = 1; j <= h; j++) {
			e += k;
			if (e >= p) e -= p;
			c = T[e * ws].re;
			w = -T[e * ws].im;
			a = x + j * s;
			z = x + (p - j) * s;
			tr = a[0] + z[0]; ti = a[1] + z[1];
			ur = a[0] - z[0]; ui = a[1] - z[1];
			ar += c * tr;
			ai += c * ti;
			br += w * ur;
			bi += w * ui;
		}
		y[k].re = ar + bi;
		y[k].im = ai - br;
		y[p - k].re = ar - bi;
		y[p - k].im = ai + br;
	}
}
)";

const char* const kLeafDirectReal = R"(
/* The same for real input x[j * s]. */
static void kv_leaf_directr(complex *y, const @{real} *x, long s, long p, const complex *T, long ws)
{
	long h = (p - 1) / 2, j, k, e;
	@{real} ar = x[0], br, z;
	for (j = 1; j < p; j++) ar += x[j * s];
	y[0].re = ar;
	y[0].im = @{zero};
	for (k = 1; k <= h; k++) {
		ar = x[0]; br = @{zero};
		e = 0;
		for (j = 1; j <= h; j++) {
			e += k;
			if (e >= p) e -= p;
			z = x[(p - j) * s];
			ar += T[e * ws].re * (x[j * s] + z);
			br -= T[e * ws].im * (x[j * s] - z);
		}
		y[k].re = ar;
		y[k].im = -br;
		y[p - k].re = ar;
		y[p - k].im = br;
	}
}
)";

}  // namespace

std::string rootLoopButterfly(const FastText& t) {
    return expandTemplate("kv_dft_odd", kDftOdd, t.scalars({"real", "zero"}));
}

std::string rootLoopLeaf(const FastText& t, bool realInput) {
    return realInput ? expandTemplate("kv_leaf_oddr", kLeafOddReal, t.scalars({"real", "zero"}))
                     : expandTemplate("kv_leaf_odd", kLeafOdd, t.scalars({"real"}));
}

std::string directLeaf(const FastText& t, bool realInput) {
    return realInput ? expandTemplate("kv_leaf_directr", kLeafDirectReal, t.scalars({"real", "zero"}))
                     : expandTemplate("kv_leaf_direct", kLeafDirect, t.scalars({"real", "zero"}));
}

std::string rootLoopPass() { return std::string(kMul) + kPassOdd; }
