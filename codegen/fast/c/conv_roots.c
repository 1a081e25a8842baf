/* The roots of unity of the large prime radices (see convolution.c),
   as the fast style's generated files carry them after conv_cyclic.c. The build
   gives the generator the text after the marker line below, with REAL as
   the placeholder that it fills in for the file's precision; the lines up
   to the marker let this file compile on its own. */
#include "conv_cyclic.c"

/* ==== generated files carry this file from here on ==== */
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

