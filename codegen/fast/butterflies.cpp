// The butterflies of the fast style and the leaves and passes built on
// them. Each butterfly works in place on a small local array; the leaves and
// passes spell out their loads and stores per entry, so that the compiler
// keeps the array in registers at -O2 already.
#include <string>

#include "codegen/fast/convolution.h"
#include "codegen/fast/fast_parts.h"

namespace {

const char* const kDft2 = R"(
static KV_INLINE void @{dft}2(@{complex} *v)
{
	@{real} r = v[0].re - v[1].re, i = v[0].im - v[1].im;
	v[0].re += v[1].re;
	v[0].im += v[1].im;
	v[1].re = r;
	v[1].im = i;
}
)";

const char* const kDft4 = R"(
static KV_INLINE void @{dft}4(@{complex} *v)
{
	@{real} ar = v[0].re + v[2].re, ai = v[0].im + v[2].im;
	@{real} br = v[0].re - v[2].re, bi = v[0].im - v[2].im;
	@{real} cr = v[1].re + v[3].re, ci = v[1].im + v[3].im;
	@{real} dr = v[1].re - v[3].re, di = v[1].im - v[3].im;
	v[0].re = ar + cr;
	v[0].im = ai + ci;
	v[2].re = ar - cr;
	v[2].im = ai - ci;
	v[1].re = br + di;
	v[1].im = bi - dr;
	v[3].re = br - di;
	v[3].im = bi + dr;
}
)";

// Two radix-4 butterflies on the even and the odd entries, the odd ones
// turned by W8^k, then one radix-2 step; all in scalars, since arrays and
// struct copies keep the vectoriser off the loops around it.
const char* const kDft8 = R"(
static KV_INLINE void @{dft}8(@{complex} *v)
{
	@{real} a0r = v[0].re + v[4].re, a0i = v[0].im + v[4].im;
	@{real} a1r = v[0].re - v[4].re, a1i = v[0].im - v[4].im;
	@{real} a2r = v[2].re + v[6].re, a2i = v[2].im + v[6].im;
	@{real} a3r = v[2].re - v[6].re, a3i = v[2].im - v[6].im;
	@{real} b0r = v[1].re + v[5].re, b0i = v[1].im + v[5].im;
	@{real} b1r = v[1].re - v[5].re, b1i = v[1].im - v[5].im;
	@{real} b2r = v[3].re + v[7].re, b2i = v[3].im + v[7].im;
	@{real} b3r = v[3].re - v[7].re, b3i = v[3].im - v[7].im;
	@{real} e0r = a0r + a2r, e0i = a0i + a2i, e2r = a0r - a2r, e2i = a0i - a2i;
	@{real} e1r = a1r + a3i, e1i = a1i - a3r, e3r = a1r - a3i, e3i = a1i + a3r;
	@{real} o0r = b0r + b2r, o0i = b0i + b2i, o2r = b0r - b2r, o2i = b0i - b2i;
	@{real} o1r = b1r + b3i, o1i = b1i - b3r, o3r = b1r - b3i, o3i = b1i + b3r;
	@{real} t1r = (o1r + o1i) * @{sqrt1_2}, t1i = (o1i - o1r) * @{sqrt1_2};
	@{real} t3r = (o3i - o3r) * @{sqrt1_2}, t3i = -(o3r + o3i) * @{sqrt1_2};
	v[0].re = e0r + o0r; v[0].im = e0i + o0i;
	v[4].re = e0r - o0r; v[4].im = e0i - o0i;
	v[1].re = e1r + t1r; v[1].im = e1i + t1i;
	v[5].re = e1r - t1r; v[5].im = e1i - t1i;
	v[2].re = e2r + o2i; v[2].im = e2i - o2r;
	v[6].re = e2r - o2i; v[6].im = e2i + o2r;
	v[3].re = e3r + t3r; v[3].im = e3i + t3i;
	v[7].re = e3r - t3r; v[7].im = e3i - t3i;
}
)";

// 6 = 2 x 3 with coprime factors: the index maps n = 3 n1 + 2 n2 and
// k = 3 k1 + 4 k2 (mod 6) leave no twiddles between the two steps.
const char* const kDft6 = R"(
static KV_INLINE void @{dft}6(@{complex} *v)
{
	@{complex} a[3], b[3];
	a[0].re = v[0].re + v[3].re; a[0].im = v[0].im + v[3].im;
	b[0].re = v[0].re - v[3].re; b[0].im = v[0].im - v[3].im;
	a[1].re = v[2].re + v[5].re; a[1].im = v[2].im + v[5].im;
	b[1].re = v[2].re - v[5].re; b[1].im = v[2].im - v[5].im;
	a[2].re = v[4].re + v[1].re; a[2].im = v[4].im + v[1].im;
	b[2].re = v[4].re - v[1].re; b[2].im = v[4].im - v[1].im;
	@{dft}3(a);
	@{dft}3(b);
	v[0] = a[0]; v[4] = a[1]; v[2] = a[2];
	v[3] = b[0]; v[1] = b[1]; v[5] = b[2];
}
)";

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

const char* const kLeafOddReal = R"(
static void kv_leaf_oddr(complex *y, const @{real} *x, long s, long p, const complex *T, long ws)
{
	complex t[250], u[250], x0;
	long j;
	x0.re = x[0]; x0.im = @{zero};
	for (j = 1; 2 * j < p; j++) {
		t[j].re = x[j * s] + x[(p - j) * s]; t[j].im = @{zero};
		u[j].re = x[j * s] - x[(p - j) * s]; u[j].im = @{zero};
	}
	kv_dft_odd(y, 1, x0, t, u, p, T, ws);
}
)";

const char* const kPassOdd = R"(
/* One pass of odd radix p over blocks of p * L entries: entry k + q L of a
   block is turned by T[q k tw] before the butterfly. */
static KV_PASS void kv_pass_odd(complex *d, long p, long L, long R, const complex *T, long tw, long ws)
{
	complex t[250], u[250], x0, a, c;
	long b, k, j;
	for (b = 0; b < R; b++) {
		complex *x = d + b * p * L;
		for (k = 0; k < L; k++) {
			x0 = x[k];
			for (j = 1; 2 * j < p; j++) {
				a = kv_mul(x[k + j * L], T[j * k * tw]);
				c = kv_mul(x[k + (p - j) * L], T[(p - j) * k * tw]);
				t[j].re = a.re + c.re; t[j].im = a.im + c.im;
				u[j].re = a.re - c.re; u[j].im = a.im - c.im;
			}
			kv_dft_odd(x + k, L, x0, t, u, p, T, ws);
		}
	}
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

bool isStraightLinePrime(int32_t p) { return p % 2 == 1 && p <= kStraightLineLimit; }

// The names a butterfly is written with. The scalar one works on complex
// values; its vector twin, the same text with the vector types, on
// kv_vcomplex, KV_LANES entries at a time.
struct ButterflyForm {
    std::string real, complex, name;  // name: the prefix of the radix
};
ButterflyForm scalarForm(const FastText& t) { return {t.real(), "complex", "kv_dft"}; }
const ButterflyForm kVectorForm = {"kv_vec", "kv_vcomplex", "kv_vdft"};

// The butterfly of an odd prime p up to kStraightLineLimit, written out
// with its cosines and sines as literals.
std::string straightLineButterfly(const FastText& t, int32_t p, const ButterflyForm& form) {
    const int h = (p - 1) / 2;
    const std::string& real = form.real;
    std::string s = format("\nstatic KV_INLINE void %s%d(%s *v)\n{\n", form.name.c_str(), p, form.complex.c_str());
    s += "\t" + real + " x0r = v[0].re, x0i = v[0].im;\n";
    for (int j = 1; j <= h; ++j) {
        s += format("\t%s t%dr = v[%d].re + v[%d].re, t%di = v[%d].im + v[%d].im;\n", real.c_str(), j, j, p - j, j,
                    j, p - j);
        s += format("\t%s u%dr = v[%d].re - v[%d].re, u%di = v[%d].im - v[%d].im;\n", real.c_str(), j, j, p - j, j,
                    j, p - j);
    }
    s += "\t" + real + " ar, ai, br, bi;\n";
    std::string sumRe = "x0r", sumIm = "x0i";
    for (int j = 1; j <= h; ++j) sumRe += format(" + t%dr", j), sumIm += format(" + t%di", j);
    s += "\tv[0].re = " + sumRe + ";\n\tv[0].im = " + sumIm + ";\n";
    // One term of a sum: " + c*name" or " - |c|*name".
    auto term = [&](long double c, const std::string& name) {
        return (c < 0 ? " - " : " + ") + t.literal(c < 0 ? -c : c) + " * " + name;
    };
    for (int k = 1; k <= h; ++k) {
        std::string ar = "x0r", ai = "x0i", br, bi;
        for (int j = 1; j <= h; ++j) {
            const long double c = cosTurn(long(j) * k, p), sn = sinTurn(long(j) * k, p);
            ar += term(c, format("t%dr", j));
            ai += term(c, format("t%di", j));
            br += term(sn, format("u%dr", j));
            bi += term(sn, format("u%di", j));
        }
        // br and bi start with " + " or " - "; a leading minus stays.
        auto strip = [](const std::string& e) { return e[1] == '+' ? e.substr(3) : "-" + e.substr(3); };
        s += "\tar = " + ar + ";\n\tai = " + ai + ";\n";
        s += "\tbr = " + strip(br) + ";\n\tbi = " + strip(bi) + ";\n";
        s += format("\tv[%d].re = ar + bi;\n\tv[%d].im = ai - br;\n", k, k);
        s += format("\tv[%d].re = ar - bi;\n\tv[%d].im = ai + br;\n", p - k, p - k);
    }
    s += "}\n";
    return s;
}

// The butterfly of radix 2, 4, 6 or 8, from its template.
std::string fixedButterfly(const FastText& t, int32_t p, const ButterflyForm& form) {
    const char* text = p == 2 ? kDft2 : p == 4 ? kDft4 : p == 8 ? kDft8 : kDft6;
    TextValues values = p == 8 ? t.scalars({"sqrt1_2"}) : TextValues();
    if (p != 6) values["real"] = form.real;
    values["complex"] = form.complex;
    values["dft"] = form.name;
    return expandTemplate(format("kv_dft%d", p).c_str(), text, values);
}

// The butterfly of radix p, in straight-line code.
std::string ownButterfly(const FastText& t, int32_t p, const ButterflyForm& form) {
    return isStraightLinePrime(p) ? straightLineButterfly(t, p, form) : fixedButterfly(t, p, form);
}

std::string ownLeaf(const FastText& t, int32_t p, bool realInput) {
    std::string s = format("\nstatic KV_INLINE void kv_leaf%d%s(complex *y, const %s *x, long s)\n{\n\tcomplex v[%d];\n", p,
                           realInput ? "r" : "", t.real(), p);
    for (int j = 0; j < p; ++j) {
        const std::string at = j == 0 ? "0" : j == 1 ? "s" : format("%d * s", j);
        if (realInput)
            s += format("\tv[%d].re = x[%s]; v[%d].im = %s;\n", j, at.c_str(), j, t.literal(0).c_str());
        else
            s += format("\tv[%d].re = x[%s]; v[%d].im = x[%s];\n", j, at.c_str(), j,
                        j == 0 ? "1" : (at + " + 1").c_str());
    }
    s += format("\tkv_dft%d(v);\n", p);
    for (int j = 0; j < p; ++j) s += format("\ty[%d].re = v[%d].re; y[%d].im = v[%d].im;\n", j, j, j, j);
    return s + "}\n";
}

// The vector types and their loads, stores and products, for the vector
// loop of the passes. A vector holds the real parts (or the imaginary parts)
// of KV_LANES consecutive entries: the loads split the pairs, the stores
// join them again, and a product then needs no shuffles.
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
#elif KV_LANES == 4
#define KV_EVEN 0, 2, 4, 6
#define KV_ODD 1, 3, 5, 7
#define KV_LOW 0, 4, 1, 5
#define KV_HIGH 2, 6, 3, 7
#define KV_REVERSE 2, 3, 0, 1
#define KV_BACKWARD 3, 2, 1, 0
#define KV_MIRROR 2, 7, 0, 5
#else
#define KV_EVEN 0, 2, 4, 6, 8, 10, 12, 14
#define KV_ODD 1, 3, 5, 7, 9, 11, 13, 15
#define KV_LOW 0, 8, 1, 9, 2, 10, 3, 11
#define KV_HIGH 4, 12, 5, 13, 6, 14, 7, 15
#define KV_REVERSE 6, 7, 4, 5, 2, 3, 0, 1
#define KV_BACKWARD 7, 6, 5, 4, 3, 2, 1, 0
#define KV_MIRROR 6, 15, 4, 13, 2, 11, 0, 9
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

/* T[e], T[e + tw], ... for the KV_LANES entries from k on, e = k tw. */
static KV_INLINE kv_vcomplex kv_vroots(const complex *T, long e, long tw)
{
	kv_vcomplex r;
#if KV_LANES == 2
	kv_vec re = {T[e].re, T[e + tw].re}, im = {T[e].im, T[e + tw].im};
#elif KV_LANES == 4
	kv_vec re = {T[e].re, T[e + tw].re, T[e + 2 * tw].re, T[e + 3 * tw].re};
	kv_vec im = {T[e].im, T[e + tw].im, T[e + 2 * tw].im, T[e + 3 * tw].im};
#else
	kv_vec re = {T[e].re, T[e + tw].re, T[e + 2 * tw].re, T[e + 3 * tw].re,
		T[e + 4 * tw].re, T[e + 5 * tw].re, T[e + 6 * tw].re, T[e + 7 * tw].re};
	kv_vec im = {T[e].im, T[e + tw].im, T[e + 2 * tw].im, T[e + 3 * tw].im,
		T[e + 4 * tw].im, T[e + 5 * tw].im, T[e + 6 * tw].im, T[e + 7 * tw].im};
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

// KV_LANES leaves of radix p whose inputs lie side by side: leaf c reads
// x[2 c + j s] and writes its p outputs from y + (c % r1) o1 + (c / r1) o2 on.
std::string vectorLeaf(const FastText& t, int32_t p) {
    const TextValues radix = {{"p", std::to_string(p)}};
    TextValues head = t.scalars({"real"});
    head["p"] = std::to_string(p);
    std::string s = expandTemplate("kv_vleaf", R"(
/* Unused where the lanes do not divide the leaves evenly. */
static KV_INLINE __attribute__((unused)) void kv_vleaf@{p}(complex *y, const @{real} *x, long s, long r1, long o1, long o2)
{
	kv_vcomplex u[@{p}];
	kv_vec a[@{p}], b[@{p}];
	long j;
)",
                                   head);
    for (int j = 0; j < p; ++j)
        s += format("\tu[%d] = kv_vload((const complex *)(x%s));\n", j,
                    j == 0 ? "" : j == 1 ? " + s" : format(" + %d * s", j).c_str());
    s += format("\tkv_vdft%d(u);\n", p);
    s += format("\tfor (j = 0; j < %d; j++) {\n\t\ta[j] = KV_SHUFFLE(u[j].re, u[j].im, KV_LOW);\n"
                "\t\tb[j] = KV_SHUFFLE(u[j].re, u[j].im, KV_HIGH);\n\t}\n", p);
    // a[j] holds output j of the first half of the lanes, b[j] of the
    // second. With an even radix, small transposes give each lane whole
    // vectors of consecutive outputs; otherwise entry by entry.
    const std::string generic = expandTemplate("kv_vleaf, lane by lane", R"(	{
		complex *z;
		long c;
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC unroll 8
#endif
		for (c = 0; c < KV_LANES / 2; c++) {
			z = y + (c % r1) * o1 + (c / r1) * o2;
			for (j = 0; j < @{p}; j++) memcpy(z + j, (const complex *)&a[j] + c, sizeof(complex));
			z = y + ((c + KV_LANES / 2) % r1) * o1 + ((c + KV_LANES / 2) / r1) * o2;
			for (j = 0; j < @{p}; j++) memcpy(z + j, (const complex *)&b[j] + c, sizeof(complex));
		}
	}
)",
                                               radix);
    auto put = [](int lane, const std::string& v) {
        return format("\t\tt = %s;\n\t\tmemcpy(y + %d %% r1 * o1 + %d / r1 * o2 + j, &t, sizeof t);\n", v.c_str(), lane,
                      lane);
    };
    if (p % 2 == 0) {
        s += "#if KV_LANES == 4\n";
        s += format("\tfor (j = 0; j < %d; j += 2) {\n\t\tkv_vec t;\n", p);
        s += put(0, "__builtin_shufflevector(a[j], a[j + 1], 0, 1, 4, 5)");
        s += put(1, "__builtin_shufflevector(a[j], a[j + 1], 2, 3, 6, 7)");
        s += put(2, "__builtin_shufflevector(b[j], b[j + 1], 0, 1, 4, 5)");
        s += put(3, "__builtin_shufflevector(b[j], b[j + 1], 2, 3, 6, 7)");
        s += "\t}\n";
        if (p % 4 == 0) {
            s += "#elif KV_LANES == 8\n";
            s += format("\tfor (j = 0; j < %d; j += 4) {\n\t\tkv_vec t, t0, t1, t2, t3;\n", p);
            for (int h = 0; h < 2; ++h) {
                const char* g = h ? "b" : "a";
                s += format("\t\tt0 = __builtin_shufflevector(%s[j], %s[j + 1], 0, 1, 8, 9, 2, 3, 10, 11);\n", g, g);
                s += format("\t\tt1 = __builtin_shufflevector(%s[j], %s[j + 1], 4, 5, 12, 13, 6, 7, 14, 15);\n", g, g);
                s += format("\t\tt2 = __builtin_shufflevector(%s[j + 2], %s[j + 3], 0, 1, 8, 9, 2, 3, 10, 11);\n", g, g);
                s += format("\t\tt3 = __builtin_shufflevector(%s[j + 2], %s[j + 3], 4, 5, 12, 13, 6, 7, 14, 15);\n", g, g);
                s += put(4 * h, "__builtin_shufflevector(t0, t2, 0, 1, 2, 3, 8, 9, 10, 11)");
                s += put(4 * h + 1, "__builtin_shufflevector(t0, t2, 4, 5, 6, 7, 12, 13, 14, 15)");
                s += put(4 * h + 2, "__builtin_shufflevector(t1, t3, 0, 1, 2, 3, 8, 9, 10, 11)");
                s += put(4 * h + 3, "__builtin_shufflevector(t1, t3, 4, 5, 6, 7, 12, 13, 14, 15)");
            }
            s += "\t}\n";
        }
        s += "#else\n" + generic + "#endif\n";
    } else {
        s += generic;
    }
    return s + "}\n";
}

std::string ownPass(int32_t p) {
    // Entries and twiddles are loaded and stored by component, never as
    // whole structs: the vectoriser takes the loop over k only then.
    auto at = [](int q) {
        return q == 0 ? std::string("k") : "k + " + (q == 1 ? std::string("L") : format("%d * L", q));
    };
    std::string body = "\t\t\tv[0].re = x[k].re;\n\t\t\tv[0].im = x[k].im;\n";
    for (int q = 1; q < p; ++q) {
        const std::string a = at(q), w = q == 1 ? std::string("T[e]") : format("T[%d * e]", q);
        body += format("\t\t\tv[%d].re = x[%s].re * %s.re - x[%s].im * %s.im;\n"
                       "\t\t\tv[%d].im = x[%s].re * %s.im + x[%s].im * %s.re;\n",
                       q, a.c_str(), w.c_str(), a.c_str(), w.c_str(), q, a.c_str(), w.c_str(), a.c_str(), w.c_str());
    }
    body += format("\t\t\tkv_dft%d(v);\n", p);
    for (int q = 0; q < p; ++q)
        body += format("\t\t\tx[%s].re = v[%d].re;\n\t\t\tx[%s].im = v[%d].im;\n", at(q).c_str(), q,
                       at(q).c_str(), q);
    // The vector loop takes KV_LANES values of k at a time, outside the
    // loop over the blocks, which share their twiddles; those of entry q
    // are the q-th powers of those of entry 1, formed by products.
    std::string vec = "#ifdef KV_VECTOR\n\tfor (k = 0; k + KV_LANES <= L; k += KV_LANES) {\n"
                      "\t\tw[1] = tw == 1 ? kv_vload(T + k) : kv_vroots(T, k * tw, tw);\n";
    for (int q = 2; q < p; ++q) vec += format("\t\tw[%d] = kv_vmul(w[%d], w[1]);\n", q, q - 1);
    vec += format("\t\tfor (b = 0; b < R; b++) {\n\t\t\tx = d + b * %d * L;\n\t\t\tu[0] = kv_vload(x + k);\n", p);
    for (int q = 1; q < p; ++q) vec += format("\t\t\tu[%d] = kv_vmul(kv_vload(x + %s), w[%d]);\n", q, at(q).c_str(), q);
    vec += format("\t\t\tkv_vdft%d(u);\n", p);
    for (int q = 0; q < p; ++q) vec += format("\t\t\tkv_vstore(x + %s, u[%d]);\n", at(q).c_str(), q);
    vec += "\t\t}\n\t}\n\tstart = k;\n#else\n\tstart = 0;\n#endif\n";
    // gcc unrolls a short loop over k (the pass after the leaf) completely
    // and then vectorises neither it nor the loop over the blocks.
    return expandTemplate("kv_pass", R"(
/* One pass of radix @{p} over R blocks of @{p} L entries: entry k + q L of a
   block is turned by T[q k tw] before the butterfly. */
static KV_PASS void kv_pass@{p}(complex *d, long L, long R, const complex *KV_RESTRICT T, long tw)
{
	complex v[@{p}];
	complex *KV_RESTRICT x;
	long b, k, e, start;
#ifdef KV_VECTOR
	kv_vcomplex u[@{p}], w[@{p}];
#endif
@{vector_loop}	for (b = 0; b < R; b++) {
		x = d + b * @{p} * L;
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 8
#pragma GCC unroll 1
#endif
		for (k = start; k < L; k++) {
			e = k * tw;
@{butterfly}		}
	}
}
)",
                          {{"p", std::to_string(p)}, {"vector_loop", vec}, {"butterfly", body}});
}

}  // namespace

bool hasOwnButterfly(int32_t p) { return p == 2 || p == 4 || p == 8 || p == 6 || isStraightLinePrime(p); }

std::string leafCall(int32_t p, bool realInput, const std::string& y, const std::string& x, int64_t stride,
                     int64_t rootStep) {
    const char* r = realInput ? "r" : "";
    if (hasOwnButterfly(p))
        return format("kv_leaf%d%s(%s, %s, %lld);", p, r, y.c_str(), x.c_str(), (long long)stride);
    return format("kv_leaf_%s%s(%s, %s, %lld, %d, T, %lld);", p > kScratchRadixLimit ? "direct" : "odd", r,
                  y.c_str(), x.c_str(), (long long)stride, p, (long long)rootStep);
}

std::string passCall(int32_t p, const std::string& d, int64_t sub, int64_t blocks, int64_t twiddleStep,
                     int64_t rootStep) {
    if (hasOwnButterfly(p))
        return format("kv_pass%d(%s, %lld, %lld, T, %lld);", p, d.c_str(), (long long)sub, (long long)blocks,
                      (long long)twiddleStep);
    return format("kv_pass_odd(%s, %d, %lld, %lld, T, %lld, %lld);", d.c_str(), p, (long long)sub,
                  (long long)blocks, (long long)twiddleStep, (long long)rootStep);
}

void collectNeeds(const FastPlan& plan, bool realInput, FastNeeds& needs) {
    if (!plan.radix.empty() && usesConvolution(plan.radix[0])) needs.convolution = true;
    for (size_t s = 0; s < plan.radix.size(); ++s) {
        const int32_t p = plan.radix[s];
        if (hasOwnButterfly(p)) {
            needs.butterflies.insert(p);
            if (p == 6) needs.butterflies.insert(3);
            if (s > 0)
                needs.passes.insert(p);
            else
                (realInput ? needs.realLeaves : needs.leaves).insert(p);
        } else if (s > 0) {
            needs.passes.insert(p);
            needs.oddRoots = true;
        } else if (p > kScratchRadixLimit) {
            (realInput ? needs.directRealLeaf : needs.directLeaf) = true;
        } else {
            (realInput ? needs.realLeaves : needs.leaves).insert(p);
            needs.oddRoots = true;
        }
    }
}

bool hasVectorSupport(const FastNeeds& needs) {
    for (int32_t p : needs.passes)
        if (hasOwnButterfly(p)) return true;
    return false;
}

void writeButterflies(SourceWriter& w, const FastText& t, const FastNeeds& needs) {
    const auto& bf = needs.butterflies;
    const ButterflyForm scalar = scalarForm(t);
    if (bf.count(2)) w.writeText(ownButterfly(t, 2, scalar).c_str());
    for (int32_t p : bf)
        if (isStraightLinePrime(p)) w.writeText(ownButterfly(t, p, scalar).c_str());
    if (bf.count(4)) w.writeText(ownButterfly(t, 4, scalar).c_str());
    if (bf.count(8)) w.writeText(ownButterfly(t, 8, scalar).c_str());
    if (bf.count(6)) w.writeText(ownButterfly(t, 6, scalar).c_str());
    if (needs.oddRoots) w.writeText(expandTemplate("kv_dft_odd", kDftOdd, t.scalars({"real", "zero"})).c_str());

    for (int32_t p : needs.leaves)
        if (hasOwnButterfly(p)) w.writeText(ownLeaf(t, p, false).c_str());
    for (int32_t p : needs.realLeaves)
        if (hasOwnButterfly(p)) w.writeText(ownLeaf(t, p, true).c_str());
    bool oddLeaf = false, oddRealLeaf = false;
    for (int32_t p : needs.leaves) oddLeaf |= !hasOwnButterfly(p);
    for (int32_t p : needs.realLeaves) oddRealLeaf |= !hasOwnButterfly(p);
    if (oddLeaf) w.writeText(expandTemplate("kv_leaf_odd", kLeafOdd, t.scalars({"real"})).c_str());
    if (oddRealLeaf) w.writeText(expandTemplate("kv_leaf_oddr", kLeafOddReal, t.scalars({"real", "zero"})).c_str());
    if (needs.directLeaf) w.writeText(expandTemplate("kv_leaf_direct", kLeafDirect, t.scalars({"real", "zero"})).c_str());
    if (needs.directRealLeaf)
        w.writeText(expandTemplate("kv_leaf_directr", kLeafDirectReal, t.scalars({"real", "zero"})).c_str());
    if (needs.convolution) writeConvolutionSupport(w, t.precision());

    // The vector butterflies of the passes, from the scalar ones.
    std::set<int32_t> vectorBf;
    for (int32_t p : needs.passes)
        if (hasOwnButterfly(p)) vectorBf.insert(p);
    // A leaf without passes is the whole transform: it stays scalar.
    const bool vectorLeaves = !vectorBf.empty();
    for (int32_t p : needs.leaves)
        if (hasOwnButterfly(p) && vectorLeaves) vectorBf.insert(p);
    if (vectorBf.count(6)) vectorBf.insert(3);
    if (!vectorBf.empty()) {
        std::string v = kVectorSupport;
        v += "\n#ifdef KV_VECTOR";
        if (vectorBf.count(2)) v += ownButterfly(t, 2, kVectorForm);
        for (int32_t p : vectorBf)
            if (isStraightLinePrime(p)) v += ownButterfly(t, p, kVectorForm);
        if (vectorBf.count(4)) v += ownButterfly(t, 4, kVectorForm);
        if (vectorBf.count(8)) v += ownButterfly(t, 8, kVectorForm);
        if (vectorBf.count(6)) v += ownButterfly(t, 6, kVectorForm);
        for (int32_t p : needs.leaves)
            if (hasOwnButterfly(p) && vectorLeaves) v += vectorLeaf(t, p);
        w.writeText((v + "#endif\n").c_str());
    }

    bool oddPass = false;
    for (int32_t p : needs.passes) {
        if (hasOwnButterfly(p))
            w.writeText(ownPass(p).c_str());
        else
            oddPass = true;
    }
    if (oddPass) {
        w.writeText(kMul);
        w.writeText(kPassOdd);
    }
}
