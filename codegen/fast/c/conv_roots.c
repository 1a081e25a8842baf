/* The roots of unity of the large prime radices (see convolution.c),
   as the fast style's generated files carry them after conv_top.c. The build
   gives the generator the text after the marker line below, with REAL as
   the placeholder that it fills in for the file's precision; the lines up
   to the marker let this file compile on its own. */
#include "conv_top.c"

/* ==== generated files carry this file from here on ==== */
/* The roots of unity that a call needs without a trigonometric call each:
   W^x for 0 <= x < n as the product hi[x >> s] * lo[x & (2^s - 1)] of two
   tables of about sqrt(n) entries, formed in double (times scale) so that
   in single precision it is rounded once. lo holds cos - 1 and -sin of
   small angles, each exact to its last bit, and the product is
   hi + hi * (lo - 1): its second term is small, so the root is about as
   exact as hi, not the sum of the two tables' errors. */
typedef struct {
	const double *hr, *hi, *lr, *li;
	long s;
} kv_conv_roots2;

static void kv_conv_root(const kv_conv_roots2 *t, long x, double scale, REAL *re, REAL *im)
{
	const long h = x >> t->s, l = x & ((1L << t->s) - 1);
	const double a = t->hr[h], b = t->hi[h], c = t->lr[l], d = t->li[l];
	*re = (REAL)(scale * (a + (a * c - b * d)));
	*im = (REAL)(scale * (b + (a * d + b * c)));
}

/* W_n^x, the angle taken to the first octant, where cos and sin get a small
   argument, and brought back by a quarter turn and a sign (8x < 2^31). */
static void kv_conv_unit(long x, long n, double *re, double *im)
{
	const long o = 8 * x / n, r = o % 2 ? n - 8 * x % n : 8 * x % n, q = (o + 1) / 2 % 4;
	const double a = (double)r * 0.78539816339744830962 / (double)n;
	const double c = cos(a), s = o % 2 ? -sin(a) : sin(a);
	*re = q == 0 ? c : q == 1 ? -s : q == 2 ? -c : s;
	*im = q == 0 ? -s : q == 1 ? -c : q == 2 ? s : c;
}

/* The tables of W_n in d (4 * 2^s doubles, 2^(2s) >= n); the high one
   from the file's table T (W_n^x at T[x*twstep]) where there is one. */
static kv_conv_roots2 kv_conv_roots(double *d, long n, const complex *T, long twstep)
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
	for (j = 0; j << s < n; ++j)
		if (T) {
			hr[j] = (double)T[(j << s) * twstep].re;
			hi[j] = (double)T[(j << s) * twstep].im;
		} else
			kv_conv_unit(j << s, n, hr + j, hi + j);
	for (j = 0; j < 1L << s; ++j) {
		const double h = sin(0.5 * step * (double)j);
		lr[j] = -2 * h * h;
		li[j] = -sin(step * (double)j);
	}
	t.hr = hr;
	t.hi = hi;
	t.lr = lr;
	t.li = li;
	t.s = s;
	return t;
}

/* W_n^x into re, im: from the first pass's twiddles tr, ti (at t + top and
   t + 2 top) where x < top. */
static void kv_conv_copy(REAL *re, REAL *im, long x, const REAL *tr, const REAL *ti, long top, const kv_conv_roots2 *r)
{
	if (x < top) {
		*re = tr[x];
		*im = ti[x];
	} else
		kv_conv_root(r, x, 1, re, im);
}

/* Twiddles of the length-n transform: those of a pass of radix r over
   spans of r*m values are W_(r*m)^j for j < m, at t + m, and for radix 5
   also their squares at t + 3m, where no other pass has its own (p2 = 2^a
   and p5 = 5^c * 2^a being the parts of n below the radix-5 and the
   radix-3 passes: m < p2/3 for radix 4, p2 <= m < p5 for radix 5, over
   [m, 5m), m >= p5 for radix 3, so that no two meet). The first pass's
   W_n^j, for j below top = n/3, n/5 or n/4, are formed in blocks of 2^s
   that share their high factor (a loop the compiler can vectorise); every
   other one is W_n^x, copied from them where x < top, formed as they are
   where not (the radix-4 passes under a first pass of radix 5, and the
   squares of radix 5). */
static void kv_conv_twiddles(REAL *t, long n, const kv_conv_roots2 *r)
{
	const long top = n % 3 == 0 ? n / 3 : KV_CONV_RADIX5 && n % 5 == 0 ? n / 5 : n / 4, block = 1L << r->s;
	REAL *KV_CONV_RESTRICT tr = t + top, *KV_CONV_RESTRICT ti = t + 2 * top;
	long p5 = n, p2, m, j, h, l;
	for (h = 0; h * block < top; ++h) {
		const double a = r->hr[h], b = r->hi[h];
		const long e = top - h * block < block ? top - h * block : block;
		const double *KV_CONV_RESTRICT c = r->lr, *KV_CONV_RESTRICT d = r->li;
		for (l = 0; l < e; ++l) {
			tr[h * block + l] = (REAL)(a + (a * c[l] - b * d[l]));
			ti[h * block + l] = (REAL)(b + (a * d[l] + b * c[l]));
		}
	}
	while (p5 % 3 == 0)
		p5 /= 3;
	for (p2 = p5; KV_CONV_RADIX5 && p2 % 5 == 0;)
		p2 /= 5;
	for (m = p2 / 4; m >= 1; m /= 4) {
		for (j = 0; j < m && m != top && (!KV_CONV_RADIX5 || j * (n / (4 * m)) < top); ++j) {
			t[m + j] = tr[j * (n / (4 * m))];
			t[2 * m + j] = ti[j * (n / (4 * m))];
		}
		for (; j < m && m != top; ++j)
			kv_conv_root(r, j * (n / (4 * m)), 1, t + m + j, t + 2 * m + j);
	}
	for (m = p2; m < p5; m *= 5)
		for (j = 0; j < m; ++j) {
			if (m != top)
				kv_conv_copy(t + m + j, t + 2 * m + j, j * (n / (5 * m)), tr, ti, top, r);
			kv_conv_copy(t + 3 * m + j, t + 4 * m + j, 2 * j * (n / (5 * m)), tr, ti, top, r);
		}
	for (m = p5; m < n / 3; m *= 3)
		for (j = 0; j < m; ++j) {
			t[m + j] = tr[j * (n / (3 * m))];
			t[2 * m + j] = ti[j * (n / (3 * m))];
		}
}
