// The forward transform of one plan as a static function: the leaf gathers
// the input in digit-reversed order into the output, the passes follow in
// place. With blocking, the leaf and the first passes run block by block.
#include <map>
#include <string>
#include <vector>

#include "codegen/fast/convolution.h"
#include "codegen/fast/fast_parts.h"
#include "codegen/fast/leaf_loops.h"

namespace {

using Digit = LeafDigit;

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
                  bool realInput, bool inverse) {
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

    // Without its work, a transform that has no other way fills y with NaN
    // and says so: Real_FFT must not split that into finite values.
    const bool fallback = !needsWork(plan);
    std::string s = fallback ? format("\nstatic void %s(complex *y, const %s *x, const complex *T)\n{\n", name, t.real())
                             : format("\n/* 0 when it had no work memory and filled y with NaN */\n"
                                      "static int %s(complex *y, const %s *x, const complex *T)\n{\n",
                                      name, t.real());
    const int64_t span = outer.empty() ? n : plan.blockLength;
    // The vector loop of a real pass walks the blocks innermost, at one
    // column k, so that they share its twiddles. Where the p entries of a
    // column lie a multiple of 2 KiB apart, all the blocks' entries of that
    // column fall into the same few sets of the first-level cache and evict
    // each other (passes of 46080 = 8 x 8 x 8 x 6 x 5 x 3 with L = 512 and
    // 3072 ran 3 to 6 times slower); such a pass runs block by block instead,
    // forming its twiddles again in each. The complex passes form the
    // twiddles of a stretch of columns once and then walk the blocks
    // outermost, which has neither cost.
    auto byBlock = [&](int st, int64_t within) {
        const int32_t p = plan.radix[st];
        const int64_t sub = lengthAfter(plan, st), blocks = within / lengthAfter(plan, st + 1);
        return realInput && hasRealPass(p) && hasOwnButterfly(p) && blocks > 1 && sub * 2 * t.scalarBytes() % 2048 == 0;
    };
    bool anyByBlock = false;
    for (int st = 1; st < m; ++st) anyByBlock |= byBlock(st, st < blocked ? span : n);
    if (anyByBlock) s += "\tlong b;\n";
    // A vector leaf takes KV_LANES leaves at once (not on two lanes, double
    // without AVX: the outputs are scattered, it gains nothing there).
    const bool vectorLeaf = !realInput && !inner.empty() && hasOwnButterfly(plan.radix[0]);
    const char* const vectorIf = "#if defined(KV_VECTOR) && KV_LANES >= 4\n";
    LinearLeaves leaves;
    leaves.digits = inner;
    leaves.radix = plan.radix[0];
    leaves.stride = width * (n / plan.radix[0]);
    leaves.inverse = inverse;
    leaves.first = inverse ? (outer.empty() ? "1" : "xb == xr") : "0";
    // The digits both leaf loops use, then those of one of them.
    std::vector<int> digits;
    for (const Digit& d : outer) digits.push_back(d.stage);
    if (!vectorLeaf)
        for (const Digit& d : inner) digits.push_back(d.stage);
    if (!digits.empty()) {
        s += "\tlong";
        for (size_t i = 0; i < digits.size(); ++i) s += format(" d%d%s", digits[i], i + 1 < digits.size() ? "," : ";\n");
    }
    if (vectorLeaf) {
        s += vectorIf + linearLeafDeclarations(leaves, true) + "#else\n";
        if (inverse) {
            s += linearLeafDeclarations(leaves, false);
        } else {
            s += "\tlong";
            for (size_t i = 0; i < inner.size(); ++i)
                s += format(" d%d%s", inner[i].stage, i + 1 < inner.size() ? "," : ";\n");
        }
        s += "#endif\n";
    }
    // A single butterfly of its own needs no twiddles.
    if (m == 1 && hasOwnButterfly(plan.radix[0])) s += "\t(void)T;\n";
    int depth = 1;
    std::string y = "y", x = "x";
    if (!outer.empty()) s += format("\tcomplex *yb;\n\tconst %s *xb;\n", t.real());
    // IFFT(x)[k] = DFT(x)[-k] / N is the DFT of x read backwards, x[-j]:
    // leaf c reads x[N - c - j N/r], the leaves of a block run down from xr,
    // one entry past the input, less the block's offset. Only leaf 0 reads
    // x[0] and then x[N - j N/r]: the forward leaf with its outputs k and
    // r - k swapped. On the split form it is swap(DFT(swap(x))) / N instead,
    // swap(a + ib) = b + ia: the leaves read forwards, all on vectors, and
    // swap as they load, the last pass as it stores (single precision
    // IFFT1024 took 7 % less time than the backward reading, whose leaf 0
    // and the three or seven leaves the lanes left over ran on scalars).
    const int32_t splitLeaf = splitWidth(plan, realInput);
    std::string leafZero;  // with inverse, where the leaves read backwards
    if (inverse) {
        const int32_t r = plan.radix[0];
        leafZero = format("\tconst %s *xr = x + %lld;\n\tcomplex swap;\n", t.real(), (long long)(2 * n));
        leafZero += format("\tkv_ileaf%d(y, x, %lld);\n", r, (long long)leaves.stride);
        for (int k = 1; 2 * k < r; ++k)
            leafZero += format("\tswap = y[%d];\n\ty[%d] = y[%d];\n\ty[%d] = swap;\n", k, k, r - k, r - k);
        // Blocked, the branches lie inside the loop over the blocks.
        if (!splitLeaf)
            s += leafZero;
        else if (!outer.empty())
            s += "#if !(" + splitIf(splitLeaf, t) + ")\n" + leafZero + "#endif\n";
    }
    const std::string branchLeafZero = outer.empty() ? leafZero : "";
    // A large prime leaf runs as a convolution in work from the heap, or
    // directly when there is none. So does every other prime of 100 or more,
    // as a pass, in its own part of the same allocation (a prime that comes
    // again shares it). A pass of a prime above the scratch limit cannot
    // run directly: without work, the call gives NaN.
    const int32_t leafRadix = plan.radix[0];
    const std::vector<int32_t> convolved = convolutionRadices(plan);
    const bool convolution = !convolved.empty();
    const int64_t leafStride = width * (n / leafRadix);
    const int64_t leafRoots = n / leafRadix * tableStep;
    std::map<int32_t, std::string> work;  // the work of each convolved radix
    int64_t workOffset = 0;               // in complex values
    for (int32_t p : convolved) {
        work[p] = workOffset == 0 ? std::string("work") : format("work + %lld", (long long)workOffset);
        workOffset += convolutionWorkBytes(p, t.precision()) / (2 * t.scalarBytes());
    }
    if (convolution) {
        s += format("\tcomplex *work = (complex *)FFT_MALLOC(%lld);\n", (long long)planWorkBytes(plan, t.precision()));
        if (!fallback)
            s += format("\tif (work == 0) {\n\t\tkv_fill_nan(y, %lld);\n\t\treturn 0;\n\t}\n", (long long)n);
        s += fallback ? "\tif (work != 0) {\n" : "\t{\n";
        for (int32_t p : convolved)
            s += format("\t\tkv_conv_init(%s, %d, T, %lld);\n", work[p].c_str(), p, (long long)(n / p * tableStep));
        s += "\t}\n";
    }
    if (!outer.empty()) {
        openLoops(s, outer, depth);
        depth += int(outer.size());
        s += tabs(depth) + "yb = " + offset("y", outer, false) + ";\n";
        const std::string forwards = tabs(depth) + "xb = " + offset("x", outer, true) + ";\n";
        const std::string backwards = tabs(depth) + "xb = xr - (" + offset("", outer, true).substr(3) + ");\n";
        if (!inverse)
            s += forwards;
        else if (splitLeaf)
            s += "#if " + splitIf(splitLeaf, t) + "\n" + forwards + "#else\n" + backwards + "#endif\n";
        else
            s += backwards;
        y = "yb";
        x = "xb";
    }
    leaves.y = y;
    leaves.x = inverse && outer.empty() ? "xr" : x;
    auto pass = [&](int st, const std::string& d, int64_t within, int at) -> std::string {
        const int32_t p = plan.radix[st];
        const int64_t after = lengthAfter(plan, st + 1);
        const bool whole = realPassWritesAll(plan, st - 1), full = realPassWritesAll(plan, st);
        if (byBlock(st, within)) {
            return tabs(at) + format("for (b = 0; b < %lld; b++)\n", (long long)(within / after)) + tabs(at + 1) +
                 (realInput && hasRealPass(p)
                      ? realPassCall(p, format("%s + b * %lld", d.c_str(), (long long)after), lengthAfter(plan, st), 1,
                                     n / after * tableStep, n / p * tableStep, whole, full)
                      : passCall(p, format("%s + b * %lld", d.c_str(), (long long)after), lengthAfter(plan, st), 1,
                                 n / after * tableStep, n / p * tableStep)) +
                 "\n";
        }
        const std::string direct =
            usesConvolution(p) && !fallback ? std::string()
            : realInput && hasRealPass(p)
                ? realPassCall(p, d, lengthAfter(plan, st), within / after, n / after * tableStep,
                               n / p * tableStep, whole, full)
                : passCall(p, d, lengthAfter(plan, st), within / after, n / after * tableStep, n / p * tableStep);
        if (!usesConvolution(p)) return tabs(at) + direct + "\n";
        const std::string conv = format("kv_conv_pass(%s, %d, %lld, %lld, T, %lld, %s);", d.c_str(), p,
                                        (long long)lengthAfter(plan, st), (long long)(within / after),
                                        (long long)(n / after * tableStep), work[p].c_str());
        if (fallback)
            return tabs(at) + "if (work != 0)\n" + tabs(at + 1) + conv + "\n" + tabs(at) + "else\n" + tabs(at + 1) +
                   direct + "\n";
        return tabs(at) + conv + "\n";
    };
    // The passes of a block (of the whole transform without blocking), and
    // those over the whole after the blocks: on the split form, all but the
    // last keep it, the last one writes pairs.
    auto splitPass = [&](int st, const std::string& d, int64_t within, int at) {
        const int32_t p = plan.radix[st];
        const long long sub = lengthAfter(plan, st), after = lengthAfter(plan, st + 1);
        const long long tw = n / after * tableStep;
        return tabs(at) + (st + 1 < m ? format("kv_pass%d_split(%s, %lld, %lld, T, %lld);\n", p, d.c_str(), sub,
                                               within / after, tw)
                                      : format("kv_pass%d_join%s(%s, %lld, T, %lld);\n", p, inverse ? "_swap" : "",
                                               d.c_str(), sub, tw));
    };
    std::string plainPasses, splitPasses;  // of a block, in the branches
    for (int st = 1; st < blocked; ++st) {
        plainPasses += pass(st, y, span, depth);
        if (splitLeaf) splitPasses += splitPass(st, y, span, depth);
    }
    // On the split form the passes follow in the same branch; where it does
    // not take all vector leaves, the leaves on pairs and their passes come
    // next, and the scalar leaves and their passes last.
    // Without the split form, they follow the branches.
    const std::string branchPasses = splitLeaf ? plainPasses : "";
    if (splitLeaf) {
        LinearLeaves split = leaves;
        split.split = true;
        split.swapped = inverse;
        split.first = "0";
        split.x = x;
        s += "#if " + splitIf(splitLeaf, t) + "\n";
        s += linearLeafLoop(split, depth, true) + splitPasses;
        if (!splitEverywhere(splitLeaf, t)) s += "#elif defined(KV_VECTOR) && KV_LANES >= 4\n" + branchLeafZero;
    } else if (vectorLeaf) {
        s += vectorIf;
    }
    if (vectorLeaf && (!splitLeaf || !splitEverywhere(splitLeaf, t)))
        s += linearLeafLoop(leaves, depth, true) + branchPasses;
    if (vectorLeaf) s += "#else\n";
    if (inverse) {
        if (splitLeaf) s += branchLeafZero;
        s += linearLeafLoop(leaves, depth, false) + branchPasses + "#endif\n";
    } else {
        openLoops(s, inner, depth);
        const int leafDepth = depth + int(inner.size());
        const std::string leafY = offset(y, inner, false), leafX = offset(x, inner, true);
        if (convolution) {
            const std::string conv =
                realInput ? format("kv_conv_dft_real(%s, 1, %s, %lld, work, %d);", leafY.c_str(), leafX.c_str(),
                                   (long long)leafStride, leafRadix)
                          : format("kv_conv_dft(%s, 1, (const complex *)(%s), %lld, work, %d);", leafY.c_str(),
                                   leafX.c_str(), (long long)leafStride / 2, leafRadix);
            if (fallback)
                s += tabs(leafDepth) + "if (work != 0)\n" + tabs(leafDepth + 1) + conv + "\n" + tabs(leafDepth) +
                     "else\n" + tabs(leafDepth + 1) + leafCall(leafRadix, realInput, leafY, leafX, leafStride, leafRoots) +
                     "\n";
            else
                s += tabs(leafDepth) + conv + "\n";
        } else {
            s += tabs(leafDepth) + leafCall(leafRadix, realInput, leafY, leafX, leafStride, leafRoots) + "\n";
        }
        closeLoops(s, inner.size(), depth);
        if (vectorLeaf) s += branchPasses + "#endif\n";
    }

    if (!splitLeaf) s += plainPasses;
    if (!outer.empty()) {
        closeLoops(s, outer.size(), 1);
        if (splitLeaf) s += "#if " + splitIf(splitLeaf, t) + "\n";
        for (int st = blocked; splitLeaf && st < m; ++st) s += splitPass(st, "y", n, 1);
        if (splitLeaf) s += "#else\n";
        for (int st = blocked; st < m; ++st) s += pass(st, "y", n, 1);
        if (splitLeaf) s += "#endif\n";
    }
    // Braces: FFT_FREE may be defined empty.
    if (convolution) s += fallback ? "\tif (work != 0) {\n\t\tFFT_FREE(work);\n\t}\n" : "\tFFT_FREE(work);\n\treturn 1;\n";
    s += "}\n";
    w.writeText(s.c_str());
}
