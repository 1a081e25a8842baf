// The butterflies written out in straight-line code: radices 2, 4, 6 and 8
// from templates, the odd primes up to kStraightLineLimit with their
// cosines and sines as literals. Each works in place on a small local
// array, which the compiler keeps in registers at -O2 already. One text
// gives the scalar butterfly and its vector twin.
#include <string>

#include "codegen/fast/emitter_limits.h"
#include "codegen/fast/function_texts.h"

namespace {

const char* const kDft2 = R"(
static @{inline} void @{dft}2(@{complex} *v)
{
	@{real} r = v[0].re - v[1].re, i = v[0].im - v[1].im;
	v[0].re += v[1].re;
	v[0].im += v[1].im;
	v[1].re = r;
	v[1].im = i;
}
)";

const char* const kDft4 = R"(
static @{inline} void @{dft}4(@{complex} *v)
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
static @{inline} void @{dft}8(@{complex} *v)
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
static @{inline} void @{dft}6(@{complex} *v)
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

// The names a butterfly is written with. The scalar one works on complex
// values; its vector twin, the same text with the vector types, on
// kv_vcomplex, KV_LANES entries at a time. A literal in a vector product
// is cast to the scalar type: where floating constants have more range and
// precision than their type (32-bit x87, FLT_EVAL_METHOD 2; s390x floats,
// 1), strict C refuses a long double or double constant beside a vector
// of double or float.
struct ButterflyForm {
    std::string real, complex, name;  // name: the prefix of the radix
    std::string cast;                 // before each literal
    std::string inline_;              // KV_INLINE, and KV_MAYBE_UNUSED where it may go uncalled
};
ButterflyForm scalarForm(const FastText& t) { return {t.real(), "complex", "kv_dft", "", "KV_INLINE"}; }
ButterflyForm vectorForm(const FastText& t) {
    return {"kv_vec", "kv_vcomplex", "kv_vdft", std::string("(") + t.real() + ")", "KV_INLINE"};
}

// The butterfly of an odd prime p up to kStraightLineLimit, written out
// with its cosines and sines as literals.
std::string straightLineButterfly(const FastText& t, int32_t p, const ButterflyForm& form) {
    const int h = (p - 1) / 2;
    const std::string& real = form.real;
    std::string s = format("\nstatic %s void %s%d(%s *v)\n{\n", form.inline_.c_str(), form.name.c_str(), p,
                           form.complex.c_str());
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
        return (c < 0 ? " - " : " + ") + form.cast + t.literal(c < 0 ? -c : c) + " * " + name;
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
    if (p == 8) values["sqrt1_2"] = form.cast + values["sqrt1_2"];
    if (p != 6) values["real"] = form.real;
    values["complex"] = form.complex;
    values["dft"] = form.name;
    values["inline"] = form.inline_;
    return expandTemplate(format("kv_dft%d", p).c_str(), text, values);
}

}  // namespace

bool isStraightLinePrime(int32_t p) { return p % 2 == 1 && p <= kStraightLineLimit; }

std::string ownButterfly(const FastText& t, int32_t p, bool vector, bool maybeUnused) {
    ButterflyForm form = vector ? vectorForm(t) : scalarForm(t);
    if (maybeUnused) form.inline_ += " KV_MAYBE_UNUSED";
    return isStraightLinePrime(p) ? straightLineButterfly(t, p, form) : fixedButterfly(t, p, form);
}

