// The leaves of the radices with a butterfly of their own: the scalar leaf
// and the vector leaf that takes KV_LANES leaves at once. They spell out
// their loads and stores per entry, so that the butterfly's array stays in
// registers.
#include <string>
#include <vector>

#include "codegen/fast/function_texts.h"

std::string ownLeaf(const FastText& t, int32_t p, bool realInput, bool scaled, bool swapped) {
    if (realInput && !scaled && isStraightLinePrime(p)) return realStraightLineLeaf(t, p);
    // Unused where the vector leaf takes all leaves of the forward transform.
    std::string s = format("\nstatic KV_INLINE KV_MAYBE_UNUSED void kv_%sleaf%d%s(complex *y, const %s *x, long s)\n{\n\tcomplex v[%d];\n",
                           swapped ? "s" : scaled ? "i" : "", p, realInput ? "r" : "", t.real(), p);
    const auto in = [&](const std::string& at) { return scaled ? "KV_SCALE(x[" + at + "])" : "x[" + at + "]"; };
    for (int j = 0; j < p; ++j) {
        const std::string at = j == 0 ? "0" : j == 1 ? "s" : format("%d * s", j);
        const std::string next = j == 0 ? "1" : at + " + 1";
        if (realInput)
            s += format("\tv[%d].re = %s; v[%d].im = %s;\n", j, in(at).c_str(), j, t.literal(0).c_str());
        else
            s += format("\tv[%d].re = %s; v[%d].im = %s;\n", j, in(swapped ? next : at).c_str(), j,
                        in(swapped ? at : next).c_str());
    }
    s += format("\tkv_dft%d(v);\n", p);
    for (int j = 0; j < p; ++j) s += format("\ty[%d].re = v[%d].re; y[%d].im = v[%d].im;\n", j, j, j, j);
    return s + "}\n";
}

namespace {

// IFFT's vector leaves scale their p loaded vectors u by 1/N first
// (KV_SCALE); swapped, they also swap the parts (free: the registers change
// roles). Nothing for the forward leaves.
std::string scaleLoop(int32_t p, bool scaled, bool swapped) {
    if (!scaled) return "";
    if (swapped)
        return format("\tfor (j = 0; j < %d; j++) {\n\t\tconst kv_vec re = u[j].re;\n\t\tu[j].re = KV_SCALE(u[j].im);\n"
                      "\t\tu[j].im = KV_SCALE(re);\n\t}\n",
                      p);
    return format("\tfor (j = 0; j < %d; j++) {\n\t\tu[j].re = KV_SCALE(u[j].re);\n\t\tu[j].im = KV_SCALE(u[j].im);\n\t}\n", p);
}

}  // namespace

// KV_LANES leaves of radix p whose inputs lie apart entries apart: leaf c
// reads x[2 c apart + j s] and writes its p outputs from y + o[c] on. Side by
// side (apart = 1) two plain loads fetch an entry of all the lanes.
std::string vectorLeaf(const FastText& t, int32_t p, bool scaled) {
    const TextValues radix = {{"p", std::to_string(p)}};
    TextValues head = t.scalars({"real"});
    head["p"] = std::to_string(p);
    head["i"] = scaled ? "i" : "";
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
    s += scaleLoop(p, scaled, false);
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


namespace {

// Entry j of KV_LANES consecutive ones sits in lane kNatural[j] of the
// vectors (KV_NATURAL; the order is its own inverse).
const int kNatural4[4] = {0, 2, 1, 3};
const int kNatural8[8] = {0, 1, 4, 5, 2, 3, 6, 7};

// The transpose of the parts (re or im) of outputs h to h + KV_LANES - 1 of
// the lanes' leaves into one vector per leaf, stored in the split form: row
// i of the square is the output in lane i, column l the leaf in lane l.
std::string splitStores(const FastText& t, int lanes, int h, const char* part) {
    const int* natural = lanes == 4 ? kNatural4 : kNatural8;
    const std::string offset = std::string(part) == "re" ? "" : " + KV_LANES";
    std::string s;
    auto shuffle = [&](const std::string& to, const std::string& a, const std::string& b, const char* order) {
        s += format("\t%s = __builtin_shufflevector(%s, %s, %s);\n", to.c_str(), a.c_str(), b.c_str(), order);
    };
    auto row = [&](int i) { return format("u[%d].%s", h + natural[i], part); };
    std::vector<std::string> columns;
    if (lanes == 4 && t.precision() == Precision::Double) {
        // AVX: unpacks within the 128-bit halves, then across them.
        shuffle("t[0]", row(0), row(1), "0, 4, 2, 6");
        shuffle("t[1]", row(0), row(1), "1, 5, 3, 7");
        shuffle("t[2]", row(2), row(3), "0, 4, 2, 6");
        shuffle("t[3]", row(2), row(3), "1, 5, 3, 7");
        shuffle("c[0]", "t[0]", "t[2]", "0, 1, 4, 5");
        shuffle("c[1]", "t[1]", "t[3]", "0, 1, 4, 5");
        shuffle("c[2]", "t[0]", "t[2]", "2, 3, 6, 7");
        shuffle("c[3]", "t[1]", "t[3]", "2, 3, 6, 7");
    } else if (lanes == 4) {
        // One register of four floats: unpacks, then its halves.
        shuffle("t[0]", row(0), row(1), "0, 4, 1, 5");
        shuffle("t[1]", row(0), row(1), "2, 6, 3, 7");
        shuffle("t[2]", row(2), row(3), "0, 4, 1, 5");
        shuffle("t[3]", row(2), row(3), "2, 6, 3, 7");
        shuffle("c[0]", "t[0]", "t[2]", "0, 1, 4, 5");
        shuffle("c[1]", "t[0]", "t[2]", "2, 3, 6, 7");
        shuffle("c[2]", "t[1]", "t[3]", "0, 1, 4, 5");
        shuffle("c[3]", "t[1]", "t[3]", "2, 3, 6, 7");
    } else {
        // AVX: unpacks and shufps within the 128-bit halves, then across them.
        for (int i = 0; i < 8; i += 2) {
            shuffle(format("t[%d]", i), row(i), row(i + 1), "0, 8, 1, 9, 4, 12, 5, 13");
            shuffle(format("t[%d]", i + 1), row(i), row(i + 1), "2, 10, 3, 11, 6, 14, 7, 15");
        }
        for (int i = 0; i < 8; i += 4)
            for (int k = 0; k < 2; ++k) {
                shuffle(format("c[%d]", i + 2 * k), format("t[%d]", i + k), format("t[%d]", i + k + 2),
                        "0, 1, 8, 9, 4, 5, 12, 13");
                shuffle(format("c[%d]", i + 2 * k + 1), format("t[%d]", i + k), format("t[%d]", i + k + 2),
                        "2, 3, 10, 11, 6, 7, 14, 15");
            }
        // c[0..3] hold columns 0 to 3 in their lower halves and 4 to 7 in
        // their upper ones, c[4..7] the same of rows 4 to 7.
        for (int l = 0; l < 4; ++l) {
            shuffle(format("t[%d]", l), format("c[%d]", l), format("c[%d]", l + 4), "0, 1, 2, 3, 8, 9, 10, 11");
            shuffle(format("t[%d]", l + 4), format("c[%d]", l), format("c[%d]", l + 4), "4, 5, 6, 7, 12, 13, 14, 15");
        }
        for (int l = 0; l < 8; ++l)
            s += format("\tmemcpy((%s *)(y + o[%d])%s, &t[%d], sizeof t[%d]);\n", t.real(), natural[l],
                        offset.c_str(), l, l);
        return s;
    }
    for (int l = 0; l < 4; ++l)
        s += format("\tmemcpy((%s *)(y + o[%d]%s)%s, &c[%d], sizeof c[%d]);\n", t.real(), natural[l],
                    h == 0 ? "" : format(" + %d", h).c_str(), offset.c_str(), l, l);
    return s;
}

}  // namespace

// KV_LANES leaves of radix p, as kv_vleaf<p>, that write their outputs in
// the split form: p a multiple of KV_LANES.
std::string splitVectorLeaf(const FastText& t, int32_t p, bool scaled, const std::string& lanesIf) {
    TextValues head = t.scalars({"real"});
    head["p"] = std::to_string(p);
    head["i"] = scaled ? "i" : "";
    head["if"] = lanesIf;
    std::string s = expandTemplate("kv_vleaf_split", R"(
#if @{if}
static KV_INLINE void kv_v@{i}leaf@{p}_split(complex *y, const long *o, const @{real} *x, long s, long apart)
{
	kv_vcomplex u[@{p}];
	kv_vec t[8], c[8];
	long j;
	for (j = 0; j < @{p}; j++)
		u[j] = apart == 1 ? kv_vload((const complex *)(x + j * s)) : kv_vload_apart((const complex *)(x + j * s), apart);
)",
                                   head);
    s += scaleLoop(p, scaled, true);
    s += format("\tkv_vdft%d(u);\n", p);
    // Eight lanes: floats under AVX.
    const bool eight = p % 8 == 0 && t.precision() == Precision::Single;
    if (eight) s += "#if KV_LANES == 4\n";
    for (int h = 0; h < p; h += 4) s += splitStores(t, 4, h, "re") + splitStores(t, 4, h, "im");
    if (eight) s += "#else\n" + splitStores(t, 8, 0, "re") + splitStores(t, 8, 0, "im") + "#endif\n";
    return s + "}\n#endif\n";
}
