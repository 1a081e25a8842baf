/* Built by the test of codegen/fast/c/convolution.c with that file (and
   those it includes) as it stands in the repository, as C99 with every warning an error and REAL
   given as double or float. Each argument is p:bytes, a prime and the work
   size the generator gives for it; prints "p complex e", "p real e" and
   "p pass e", the largest error of kv_conv_dft, kv_conv_dft_real and of
   kv_conv_pass (as the second pass of a length-3p transform, where its
   twiddles are not all 1) against a direct DFT in long double, relative to
   the largest output; and "p roots e", the largest error of the roots of
   unity a call forms for p and for its convolution length, in units of the
   REAL's epsilon; and "p length n", the convolution length it chose. */
#include "convolution.c"

#include <float.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const long double kv_pi = 3.141592653589793238462643383279502884L;

/* A fixed sequence in [-1, 1), the same in every run and precision. */
static double kv_next(unsigned long *state)
{
	*state = (*state * 1103515245UL + 12345UL) % 2147483648UL;
	return (double)*state / 1073741824.0 - 1.0;
}

static double kv_error(const REAL *re, const REAL *im, const complex *out, long p)
{
	long double worst = 0, largest = 0;
	long j, k;
	for (k = 0; k < p; ++k) {
		long double r = 0, i = 0, a, d;
		for (j = 0; j < p; ++j) {
			const long double c = cosl(2 * kv_pi * (long double)(j * k % p) / p);
			const long double s = -sinl(2 * kv_pi * (long double)(j * k % p) / p);
			r += re[j] * c - im[j] * s;
			i += re[j] * s + im[j] * c;
		}
		a = sqrtl(r * r + i * i);
		d = sqrtl((r - out[k].re) * (r - out[k].re) + (i - out[k].im) * (i - out[k].im));
		if (a > largest)
			largest = a;
		if (d > worst)
			worst = d;
	}
	return (double)(worst / largest);
}

/* The largest error of W_n^x, x < n, from the tables kv_conv_roots makes. */
static long double kv_roots_error(long n, const complex *table, long step)
{
	double *d = malloc(4 * (size_t)(2 * sqrt((double)n) + 2) * sizeof *d);
	const kv_conv_roots2 t = kv_conv_roots(d, n, table, step);
	long double worst = 0;
	long x;
	for (x = 0; x < n; ++x) {
		REAL re, im;
		kv_conv_root(&t, x, 1, &re, &im);
		if (fabsl(re - cosl(2 * kv_pi * x / n)) > worst)
			worst = fabsl(re - cosl(2 * kv_pi * x / n));
		if (fabsl(im + sinl(2 * kv_pi * x / n)) > worst)
			worst = fabsl(im + sinl(2 * kv_pi * x / n));
	}
	free(d);
	return worst;
}

int main(int argc, char **argv)
{
	int a;
	for (a = 1; a < argc; ++a) {
		const long p = atol(argv[a]);
		const size_t bytes = (size_t)atol(strchr(argv[a], ':') + 1);
		complex *table = malloc((size_t)(3 * p) * sizeof *table), *in = malloc((size_t)(3 * p) * sizeof *in);
		complex *out = malloc((size_t)p * sizeof *out), *work = malloc(bytes);
		REAL *re = malloc((size_t)p * sizeof *re), *im = malloc((size_t)p * sizeof *im);
		REAL *zero = calloc((size_t)p, sizeof *zero);
		unsigned long state = (unsigned long)p;
		long j;
		if (!table || !in || !out || !work || !re || !im || !zero)
			return 2;
		/* the roots of length 3p, every third one those of p */
		for (j = 0; j < 3 * p; ++j) {
			table[j].re = (REAL)cosl(2 * kv_pi * j / (3 * p));
			table[j].im = (REAL)-sinl(2 * kv_pi * j / (3 * p));
		}
		for (j = 0; j < p; ++j) {
			in[j].re = re[j] = (REAL)kv_next(&state);
			in[j].im = im[j] = (REAL)kv_next(&state);
		}
		kv_conv_init(work, p, table, 3);
		kv_conv_dft(out, 1, in, 1, work, p);
		{
			const long double n = kv_roots_error(kv_conv_parts(work, p).n, 0, 0);
			const long double q = kv_roots_error(p, table, 3);
			printf("%ld roots %.3f\n", p, (double)((n > q ? n : q) / (sizeof(REAL) == sizeof(float) ? FLT_EPSILON : DBL_EPSILON)));
		}
		printf("%ld complex %.3e\n", p, kv_error(re, im, out, p));
		kv_conv_dft_real(out, 1, re, 1, work, p);
		printf("%ld real %.3e\n", p, kv_error(re, zero, out, p));
		/* In place on three interleaved groups: entry q of the last turned
		   by W_3p^(2q) first. */
		for (j = 0; j < 3 * p; ++j) {
			in[j].re = (REAL)kv_next(&state);
			in[j].im = (REAL)kv_next(&state);
		}
		for (j = 0; j < p; ++j) {
			const complex x = in[3 * j + 2], t = table[2 * j];
			re[j] = x.re * t.re - x.im * t.im;
			im[j] = x.re * t.im + x.im * t.re;
		}
		kv_conv_pass(in, p, 3, 1, table, 1, work);
		for (j = 0; j < p; ++j)
			out[j] = in[3 * j + 2];
		printf("%ld pass %.3e\n", p, kv_error(re, im, out, p));
		printf("%ld length %ld\n", p, kv_conv_parts(work, p).n);
		free(table);
		free(in);
		free(out);
		free(work);
		free(re);
		free(im);
		free(zero);
	}
	return 0;
}
