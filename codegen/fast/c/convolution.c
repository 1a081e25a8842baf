/* The large prime radices of the fast style, as its generated files carry
   them after conv_passes.c, conv_cyclic.c, conv_top.c and conv_roots.c. The build gives
   the generator the text after the marker line below, with REAL as the
   placeholder that the generator fills in for the file's precision. The
   lines up to the marker only let these files compile, and be tested,
   together. */
#include "conv_roots.c"

/* ==== generated files carry this file from here on ==== */
/* Large prime radices by Bluestein's or Rader's algorithm, each a cyclic
   convolution of length n, done by transforms of length n (conv_cyclic.c)
   with the kernel's transform prepared once per call (kv_conv_init), its
   roots of unity and the twiddles formed without a trigonometric call each
   (conv_roots.c). Bluestein's: with h = (p+1)/2, the
   inverse of 2 mod p, j*k = h*(j*j + k*k - (k-j)*(k-j)) mod p, so that
   X_k = w_k * sum_j (x_j*w_j) * conj(w_(k-j)) with the chirp w_j = W_p^(h*j*j):
   a convolution with a kernel of 2p - 1 entries that is the same at j and
   -j, so that a cyclic convolution of length n >= 2p - 2 gives it exactly
   (its two ends fall on the same entry with the same value). n is
   5^c * 3^b * 2^a (c = 0 in single precision: KV_CONV_RADIX5), and the
   cost about 4n log n operations per length-p transform instead of the
   p*p of a direct butterfly. n may also fall short of 2p - 2 by up to
   32: the few outputs that the cyclic kernel then gets wrong (its entries
   at distances above n/2 are those of n minus the distance) are put right
   afterwards, e*(e+1) products for e = p - 1 - n/2 <= 16 (32771 takes
   2^16 instead of 9 * 2^13).
   Rader's algorithm needs a cyclic convolution of length p - 1 in the
   order of the powers of a primitive root; unless p - 1 is itself
   5^c * 3^b * 2^a it has to be padded to 2p - 3 or more, which gives the same n
   as Bluestein's (for p = 124991 that took 0.73 ms per transform against
   0.47 ms for the chirped reads and writes). So Rader's is used only where
   p - 1 is 5^c * 3^b * 2^a: 65537 takes 2^16 instead of 2^17, and no chirp.
   The length-n transforms keep the two parts of the complex values in
   separate arrays, so that their loops vectorise, and never reorder: the forward
   transform leaves its output in digit-reversed order, the kernel is
   prepared in the same order and the inverse transform reads it. */

/* Whether p - 1 = 5^c * 3^b * 2^a with 2^a >= 16, the lengths of the
   transforms here: then Rader's algorithm turns the length-p transform into
   a cyclic convolution of length p - 1, half of what Bluestein's needs. */
static int kv_conv_smooth(long n)
{
	if (n % 16)
		return 0;
	while (n % 2 == 0)
		n /= 2;
	while (n % 3 == 0)
		n /= 3;
	while (KV_CONV_RADIX5 && n % 5 == 0)
		n /= 5;
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

/* For Rader's algorithm, the least primitive root g of p (p - 1 = 5^c * 3^b * 2^a)
   such that k*g stays below 2^31 for every k < p; 0 if there is none (no
   such prime up to 2^24 needs one above 29). */
static long kv_conv_generator(long p)
{
	long g;
	if (!kv_conv_smooth(p - 1))
		return 0;
	for (g = 2; g <= 2147483647L / p; ++g)
		if (kv_conv_powmod((double)g, (p - 1) / 2, (double)p) != 1 &&
			((p - 1) % 3 || kv_conv_powmod((double)g, (p - 1) / 3, (double)p) != 1) &&
			(!KV_CONV_RADIX5 || (p - 1) % 5 || kv_conv_powmod((double)g, (p - 1) / 5, (double)p) != 1))
			return g;
	return 0;
}

/* The convolution length: p - 1 where Rader's algorithm applies, or else,
   for Bluestein's, of the n = 5^c * 3^b * 2^a >= 2p - 34 with 2^a >= 16,
   the one of least cost, counted per value as 10 for a radix-4 pass, 4 for
   a radix-2 pass, 12 for a radix-3 pass and 13 for a radix-5 pass
   (measured: 124991 took about as long with 5^6 * 2^4 as with 2^18, which
   13 keeps, and 100003 0.8 times as long with 5^5 * 2^6 as with
   27 * 2^13), radix 5 only with 2^a <= 256: its spans of m values, a
   multiple of 512 from 2^9 on, put the ten streams of a butterfly 4 KiB
   apart, in one set of the cache (p = 49999 took 1.2 times as long with
   25 * 2^12 as with 5^5 * 2^5, and 124991 with 5^3 * 2^11 1.2 times as long
   as with 5^6 * 2^4); in single precision 3^b * 2^a only. The generator
   sizes the work by the same choice, for the file's precision. The
   cost is counted in double, where it stays exact: from p = 3779138 on it
   passes what a 32-bit long holds. */
static long kv_conv_length(long p)
{
	long best = 0, f5, f, b, c;
	double best_cost = 0;
	if (kv_conv_generator(p))
		return p - 1;
	for (f5 = 16, c = 0;; f5 *= 5, ++c) {
		for (f = f5, b = 0;; f *= 3, ++b) {
			long n = f, a = 4;
			double cost;
			while (n < 2 * p - 34) {
				n *= 2;
				++a;
			}
			cost = (double)n * (double)(a / 2 * 10 + a % 2 * 4 + b * 12 + c * 13);
			if ((c == 0 || a <= 8) && (best == 0 || cost < best_cost)) {
				best = n;
				best_cost = cost;
			}
			if (f >= 2 * p - 34)
				break;
		}
		if (!KV_CONV_RADIX5 || f5 >= 2 * p - 34)
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
	for (j = 0; j < e; ++j) { /* the inputs that meet wrong kernel entries */
		w->kr[w->n + j] = w->re[j];
		w->ki[w->n + j] = w->im[j];
		w->re[w->n + j] = w->re[p - e + j];
		w->im[w->n + j] = w->im[p - e + j];
	}
	kv_conv_convolve_part(w->re, w->im, w->n, w->kr, w->ki, w->tw, p);
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
	const kv_conv_roots2 rn = kv_conv_roots((double *)w.re, n, 0, 0);
	const kv_conv_roots2 rp = kv_conv_roots((double *)w.tw, p, tw, twstep);
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
		   stepped by its differences so that no product is formed; (p - j)^2
		   = j^2 mod p, so the second half mirrors the first. */
		for (j = 0; j <= p / 2; ++j) {
			kv_conv_root(&rp, q, 1, cr + j, ci + j);
			q += d;
			if (q >= p)
				q -= p;
			if (++d == p)
				d = 0;
		}
		for (; j < p; ++j) {
			cr[j] = cr[p - j];
			ci[j] = ci[p - j];
		}
		/* The kernel conj(w_|j|) for -p < j < p, wrapped around n, scaled
		   by 1/n for the inverse transform: |j| on the circle is j up to
		   n/2, n - j beyond, where the kernel is its own mirror. Separate
		   loops with no index chosen per entry run on vectors: one loop
		   over j took 7 % of Real_FFT99998's instructions, these 2 %. */
		for (j = 0; j < (p < n / 2 + 1 ? p : n / 2 + 1); ++j) {
			kr[j] = cr[j] * (REAL)scale;
			ki[j] = -ci[j] * (REAL)scale;
		}
		for (; j <= n / 2; ++j) {
			kr[j] = 0;
			ki[j] = 0;
		}
		for (; j < n; ++j) {
			kr[j] = kr[n - j];
			ki[j] = ki[n - j];
		}
	}
	kv_conv_twiddles(t, n, &rn);
	kv_conv_convolve(kr, ki, n, kr, ki, t, 1);
}
