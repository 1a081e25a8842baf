// The leaves of the radices with a butterfly of their own: the scalar leaf
// and the vector leaf that takes KV_LANES leaves at once. They spell out
// their loads and stores per entry, so that the butterfly's array stays in
// registers.
#include <string>

#include "codegen/fast/function_texts.h"

std::string ownLeaf(const FastText& t, int32_t p, bool realInput, const std::string& scale) {
    if (realInput && scale.empty() && isStraightLinePrime(p)) return realStraightLineLeaf(t, p);
    // Unused where the vector leaf takes all leaves of the forward transform.
    std::string s = format("\nstatic KV_INLINE KV_MAYBE_UNUSED void kv_%sleaf%d%s(complex *y, const %s *x, long s)\n{\n\tcomplex v[%d];\n",
                           scale.empty() ? "" : "i", p, realInput ? "r" : "", t.real(), p);
    const std::string times = scale.empty() ? "" : " * " + scale;
    for (int j = 0; j < p; ++j) {
        const std::string at = j == 0 ? "0" : j == 1 ? "s" : format("%d * s", j);
        if (realInput)
            s += format("\tv[%d].re = x[%s]%s; v[%d].im = %s;\n", j, at.c_str(), times.c_str(), j, t.literal(0).c_str());
        else
            s += format("\tv[%d].re = x[%s]%s; v[%d].im = x[%s]%s;\n", j, at.c_str(), times.c_str(), j,
                        j == 0 ? "1" : (at + " + 1").c_str(), times.c_str());
    }
    s += format("\tkv_dft%d(v);\n", p);
    for (int j = 0; j < p; ++j) s += format("\ty[%d].re = v[%d].re; y[%d].im = v[%d].im;\n", j, j, j, j);
    return s + "}\n";
}

// KV_LANES leaves of radix p whose inputs lie apart entries apart: leaf c
// reads x[2 c apart + j s] and writes its p outputs from y + o[c] on. Side by
// side (apart = 1) two plain loads fetch an entry of all the lanes.
std::string vectorLeaf(const FastText& t, int32_t p, const std::string& scale) {
    const TextValues radix = {{"p", std::to_string(p)}};
    TextValues head = t.scalars({"real"});
    head["p"] = std::to_string(p);
    head["i"] = scale.empty() ? "" : "i";
    std::string s = expandTemplate("kv_vleaf", R"(
/* Unused on two lanes. */
static KV_INLINE __attribute__((unused)) void kv_v@{i}leaf@{p}(complex *y, const long *o, const @{real} *x, long s, long apart)
{
	kv_vcomplex u[@{p}];
	kv_vec a[@{p}], b[@{p}];
	long j;
)",
                                   head);
    for (int j = 0; j < p; ++j) {
        const std::string at = j == 0 ? "x" : j == 1 ? "x + s" : format("x + %d * s", j);
        s += format("\tu[%d] = apart == 1 ? kv_vload((const complex *)(%s)) : kv_vload_apart((const complex *)(%s), apart);\n",
                    j, at.c_str(), at.c_str());
    }
    // A vector times a cast literal: strict C refuses a scalar variable
    // where floating arithmetic has excess precision.
    if (!scale.empty())
        s += format("\tfor (j = 0; j < %d; j++) {\n\t\tu[j].re = u[j].re * (%s)%s;\n\t\tu[j].im = u[j].im * (%s)%s;\n\t}\n",
                    p, t.real(), scale.c_str(), t.real(), scale.c_str());
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
			z = y + o[c];
			for (j = 0; j < @{p}; j++) memcpy(z + j, (const complex *)&a[j] + c, sizeof(complex));
			z = y + o[c + KV_LANES / 2];
			for (j = 0; j < @{p}; j++) memcpy(z + j, (const complex *)&b[j] + c, sizeof(complex));
		}
	}
)",
                                               radix);
    auto put = [](int lane, const std::string& v) {
        return format("\t\tt = %s;\n\t\tmemcpy(y + o[%d] + j, &t, sizeof t);\n", v.c_str(), lane);
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

