// The leaf of an odd prime radix with a butterfly of its own, for real
// input: the sums and differences of the entries j and p - j are real, and
// so are the cosine sums that give an output and its conjugate. Written
// out, not left to the compiler: it cannot drop the additions of the zero
// imaginary parts that the complex butterfly would make.
#include <string>

#include "codegen/fast/function_texts.h"

std::string realStraightLineLeaf(const FastText& t, int32_t p) {
    const int h = (p - 1) / 2;
    const char* real = t.real();
    std::string s = format("\nstatic KV_INLINE KV_MAYBE_UNUSED void kv_leaf%dr(complex *y, const %s *x, long s)\n{\n", p,
                           real);
    auto at = [](int j) { return j == 1 ? std::string("s") : format("%d * s", j); };
    s += format("\t%s x0 = x[0], a, b;\n", real);
    std::string sum = "x0";
    for (int j = 1; j <= h; ++j) {
        s += format("\t%s t%d = x[%s] + x[%s], u%d = x[%s] - x[%s];\n", real, j, at(j).c_str(), at(p - j).c_str(), j,
                    at(j).c_str(), at(p - j).c_str());
        sum += format(" + t%d", j);
    }
    s += format("\ty[0].re = %s;\n\ty[0].im = %s;\n", sum.c_str(), t.literal(0).c_str());
    auto term = [&](long double c, const std::string& name, bool first) {
        const std::string v = t.literal(c < 0 ? -c : c) + " * " + name;
        return first ? (c < 0 ? "-" : "") + v : (c < 0 ? " - " : " + ") + v;
    };
    for (int k = 1; k <= h; ++k) {
        std::string a = "x0", b;
        for (int j = 1; j <= h; ++j) {
            a += term(cosTurn(long(j) * k, p), format("t%d", j), false);
            b += term(sinTurn(long(j) * k, p), format("u%d", j), j == 1);
        }
        s += format("\ta = %s;\n\tb = %s;\n", a.c_str(), b.c_str());
        s += format("\ty[%d].re = a;\n\ty[%d].im = -b;\n\ty[%d].re = a;\n\ty[%d].im = b;\n", k, k, p - k, p - k);
    }
    return s + "}\n";
}
