// The forward transform of one plan as a static function: the leaf gathers
// the input in digit-reversed order into the output, the passes follow in
// place. With blocking, the leaf and the first passes run block by block.
#include <string>
#include <vector>

#include "codegen/fast/convolution.h"
#include "codegen/fast/fast_parts.h"

namespace {

struct Digit {
    int stage;           // the pass this digit belongs to
    int32_t count;       // its radix
    int64_t outStride;   // entries in the output
    int64_t inStride;    // reals in the input
};

std::string tabs(int depth) { return std::string(size_t(depth), '\t'); }

// "base + d1 * 8 + d2 * 64", or base alone.
std::string offset(const std::string& base, const std::vector<Digit>& digits, bool input) {
    std::string s = base;
    for (const Digit& d : digits) {
        const int64_t stride = input ? d.inStride : d.outStride;
        s += format(" + d%d", d.stage);
        if (stride != 1) s += format(" * %lld", (long long)stride);
    }
    return s;
}

void openLoops(std::string& s, const std::vector<Digit>& digits, int depth) {
    for (size_t i = 0; i < digits.size(); ++i)
        s += tabs(depth + int(i)) + format("for (d%d = 0; d%d < %d; d%d++) {\n", digits[i].stage, digits[i].stage,
                                           digits[i].count, digits[i].stage);
}

void closeLoops(std::string& s, size_t count, int depth) {
    for (size_t i = count; i > 0; --i) s += tabs(depth + int(i) - 1) + "}\n";
}

}  // namespace

void writeForward(SourceWriter& w, const FastText& t, const FastPlan& plan, const char* name, int tableStep,
                  bool realInput) {
    const int m = int(plan.radix.size());
    const int64_t n = plan.length;
    const int64_t width = realInput ? 1 : 2;
    const int blocked = plan.blockedStages > 0 ? plan.blockedStages : m;

    // Digit s of a leaf block's index: its output sits lengthAfter(s) apart,
    // its input n / lengthAfter(s + 1) apart (the reversed weights).
    std::vector<Digit> outer, inner;
    for (int s = 1; s < m; ++s) {
        const Digit d{s, plan.radix[s], lengthAfter(plan, s), width * (n / lengthAfter(plan, s + 1))};
        (s < blocked ? inner : outer).push_back(d);
    }

    std::string s = format("\nstatic void %s(complex *y, const %s *x, const complex *T)\n{\n", name, t.real());
    // A vector leaf takes KV_LANES leaves at once, those of one or two
    // digits of the leaf index where the lanes divide them evenly. The last
    // one or two digits (of a block's leaves with blocking) walk the input
    // in order, the last d1.inStride reals apart; where they do not split
    // into 4 and into 8 lanes, the last digit of radix 8 does on its own,
    // its inputs gathered. Two lanes (double without AVX) gain nothing over
    // the scalar leaf: the outputs are scattered.
    const bool vectorLeaf = !realInput && !inner.empty() && hasOwnButterfly(plan.radix[0]);
    size_t hi = inner.empty() ? 0 : inner.size() - 1, lo = inner.size() >= 2 ? hi - 1 : hi;
    auto splitsEvenly = [](int64_t r1, int64_t r12) { return r12 % 8 == 0 && (8 % r1 == 0 || r1 % 8 == 0); };
    if (vectorLeaf && !splitsEvenly(inner[hi].count, inner[hi].count * (lo < hi ? inner[lo].count : 1))) {
        for (size_t i = inner.size(); i-- > 0;)
            if (inner[i].count % 8 == 0) {
                hi = lo = i;
                break;
            }
    }
    const bool two = lo < hi;
    std::vector<Digit> rest, lanes;
    for (size_t i = 0; i < inner.size(); ++i) (vectorLeaf && i >= lo && i <= hi ? lanes : rest).push_back(inner[i]);
    std::string vectorIf;
    if (vectorLeaf) {
        const int64_t r1 = inner[hi].count, r2 = two ? inner[lo].count : 1;
        vectorIf = format("#if defined(KV_VECTOR) && KV_LANES >= 4 && %lld %% KV_LANES == 0 && (KV_LANES %% %lld == 0 || %lld %% KV_LANES == 0)\n",
                          (long long)(r1 * r2), (long long)r1, (long long)r1);
    }
    // The digits both leaf loops use, then those of one of them.
    std::vector<int> digits;
    for (const Digit& d : outer) digits.push_back(d.stage);
    for (const Digit& d : rest) digits.push_back(d.stage);
    if (!digits.empty()) {
        s += "\tlong";
        for (size_t i = 0; i < digits.size(); ++i) s += format(" d%d%s", digits[i], i + 1 < digits.size() ? "," : ";\n");
    }
    if (vectorLeaf) {
        s += vectorIf + "\tlong c;\n#else\n\tlong";
        for (size_t i = 0; i < lanes.size(); ++i)
            s += format(" d%d%s", lanes[i].stage, i + 1 < lanes.size() ? "," : ";\n");
        s += "#endif\n";
    }
    // A single butterfly of its own needs no twiddles.
    if (m == 1 && hasOwnButterfly(plan.radix[0])) s += "\t(void)T;\n";
    int depth = 1;
    std::string y = "y", x = "x";
    if (!outer.empty()) s += format("\tcomplex *yb;\n\tconst %s *xb;\n", t.real());
    // A large prime leaf runs as a convolution in work from the heap, or
    // directly when there is none. So does a second prime of 100 or more
    // (at most one, at most 499), as a pass, in the same allocation after
    // the leaf's work unless it is the leaf's prime again.
    const int32_t leafRadix = plan.radix[0];
    const bool convolution = usesConvolution(leafRadix);
    const int64_t leafStride = width * (n / leafRadix);
    const int64_t leafRoots = n / leafRadix * tableStep;
    const int32_t passRadix = convolutionPassRadix(plan);
    const int64_t leafBytes = convolution ? convolutionWorkBytes(leafRadix, t.precision()) : 0;
    const bool secondWork = passRadix != 0 && passRadix != leafRadix;
    const std::string passWork =
        secondWork ? format("work + %lld", (long long)(leafBytes / (2 * t.scalarBytes()))) : std::string("work");
    if (convolution) {
        s += format("\tcomplex *work = (complex *)FFT_MALLOC(%lld);\n\tif (work != 0) {\n\t\tkv_conv_init(work, %d, T, %lld);\n",
                    (long long)planWorkBytes(plan, t.precision()), leafRadix, (long long)leafRoots);
        if (secondWork)
            s += format("\t\tkv_conv_init(%s, %d, T, %lld);\n", passWork.c_str(), passRadix,
                        (long long)(n / passRadix * tableStep));
        s += "\t}\n";
    }
    if (!outer.empty()) {
        openLoops(s, outer, depth);
        depth += int(outer.size());
        s += tabs(depth) + "yb = " + offset("y", outer, false) + ";\n";
        s += tabs(depth) + "xb = " + offset("x", outer, true) + ";\n";
        y = "yb";
        x = "xb";
    }
    if (vectorLeaf) {
        const Digit& d1 = inner[hi];
        const int64_t r1 = d1.count, o1 = d1.outStride, o2 = two ? inner[lo].outStride : 0;
        const int64_t r12 = two ? r1 * inner[lo].count : r1;
        s += vectorIf;
        openLoops(s, rest, depth);
        const int at = depth + int(rest.size());
        s += tabs(at) + "for (c = 0; c < " + std::to_string(r12) + "; c += KV_LANES)\n";
        const std::string out = two ? format("(c %% %lld) * %lld + (c / %lld) * %lld", (long long)r1, (long long)o1,
                                             (long long)r1, (long long)o2)
                                    : format("c * %lld", (long long)o1);
        s += tabs(at + 1) + format("kv_vleaf%d(%s + %s, %s + c * %lld, %lld, %lld, %lld, %lld, %lld);\n", plan.radix[0],
                                   offset(y, rest, false).c_str(), out.c_str(), offset(x, rest, true).c_str(),
                                   (long long)d1.inStride, (long long)(width * (n / plan.radix[0])), (long long)r1,
                                   (long long)o1, (long long)o2, (long long)(d1.inStride / 2));
        closeLoops(s, rest.size(), depth);
        s += "#else\n";
    }
    openLoops(s, inner, depth);
    const int leafDepth = depth + int(inner.size());
    const std::string leafY = offset(y, inner, false), leafX = offset(x, inner, true);
    const std::string direct = leafCall(leafRadix, realInput, leafY, leafX, leafStride, leafRoots);
    if (convolution) {
        const std::string conv =
            realInput ? format("kv_conv_dft_real(%s, 1, %s, %lld, work, %d);", leafY.c_str(), leafX.c_str(),
                               (long long)leafStride, leafRadix)
                      : format("kv_conv_dft(%s, 1, (const complex *)(%s), %lld, work, %d);", leafY.c_str(),
                               leafX.c_str(), (long long)leafStride / 2, leafRadix);
        s += tabs(leafDepth) + "if (work != 0)\n" + tabs(leafDepth + 1) + conv + "\n" + tabs(leafDepth) + "else\n" +
             tabs(leafDepth + 1) + direct + "\n";
    } else {
        s += tabs(leafDepth) + direct + "\n";
    }
    closeLoops(s, inner.size(), depth);
    if (vectorLeaf) s += "#endif\n";

    const int64_t span = outer.empty() ? n : plan.blockLength;
    auto pass = [&](int st, const std::string& d, int64_t within) {
        const int32_t p = plan.radix[st];
        const int64_t after = lengthAfter(plan, st + 1);
        const std::string call =
            passCall(p, d, lengthAfter(plan, st), within / after, n / after * tableStep, n / p * tableStep);
        if (p == passRadix)
            s += tabs(depth) + "if (work != 0)\n" + tabs(depth + 1) +
                 format("kv_conv_pass(%s, %d, %lld, %lld, T, %lld, %s);\n", d.c_str(), p,
                        (long long)lengthAfter(plan, st), (long long)(within / after),
                        (long long)(n / after * tableStep), passWork.c_str()) +
                 tabs(depth) + "else\n" + tabs(depth + 1) + call + "\n";
        else
            s += tabs(depth) + call + "\n";
    };
    for (int st = 1; st < blocked; ++st) pass(st, y, span);
    if (!outer.empty()) {
        closeLoops(s, outer.size(), 1);
        depth = 1;
        for (int st = blocked; st < m; ++st) pass(st, "y", n);
    }
    // Braces: FFT_FREE may be defined empty.
    if (convolution) s += "\tif (work != 0) {\n\t\tFFT_FREE(work);\n\t}\n";
    s += "}\n";
    w.writeText(s.c_str());
}
