// Which static functions a fast-style file needs, their calls, and writing
// them dependencies first: the butterflies, the leaves and passes built on
// them, the vector forms and the large prime support.
#include <algorithm>
#include <string>

#include "codegen/fast/convolution.h"
#include "codegen/fast/fast_parts.h"
#include "codegen/fast/function_texts.h"

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

int32_t splitWidth(const FastPlan& plan, bool realInput) {
    const int m = int(plan.radix.size());
    if (realInput || m < 2 || plan.radix[0] % 4 != 0) return 0;
    for (int32_t p : plan.radix)
        if (!hasOwnButterfly(p)) return 0;
    return plan.radix[0];
}

// Doubles have four lanes under AVX, floats eight: every span is a multiple
// of the leaf radix.
bool splitEverywhere(int32_t width, const FastText& t) {
    return width % (t.precision() == Precision::Single ? 8 : 4) == 0;
}

std::string splitIf(int32_t width, const FastText& t) {
    return splitEverywhere(width, t) ? "defined(KV_VECTOR) && KV_LANES >= 4" : "defined(KV_VECTOR) && KV_LANES == 4";
}

void collectNeeds(const FastPlan& plan, bool realInput, FastNeeds& needs) {
    // The vector leaf of forward.cpp, on pairs or on the split form.
    const int32_t width = splitWidth(plan, realInput);
    if (!realInput && plan.radix.size() > 1 && hasOwnButterfly(plan.radix[0]))
        (width ? needs.splitLeaves : needs.pairLeaves).insert(plan.radix[0]);
    for (size_t s = 1; s < plan.radix.size(); ++s) {
        const int32_t p = plan.radix[s];
        if (!width) {
            needs.pairPasses.insert(p);
            continue;
        }
        int32_t& widest = (s + 1 < plan.radix.size() ? needs.splitPasses : needs.joinPasses)[p];
        widest = std::max(widest, width);
        const auto narrowest = needs.narrowestSplit.find(p);
        if (narrowest == needs.narrowestSplit.end() || narrowest->second > width) needs.narrowestSplit[p] = width;
    }
    if (!plan.radix.empty() && usesConvolution(plan.radix[0])) needs.convolution = true;
    // A prime above the scratch limit in a pass runs only as a convolution,
    // and so then does the leaf.
    const bool workOnly = needsWork(plan);
    for (size_t s = 0; s < plan.radix.size(); ++s) {
        const int32_t p = plan.radix[s];
        if (p > kScratchRadixLimit && (s > 0 || workOnly)) continue;
        if (hasOwnButterfly(p)) {
            needs.butterflies.insert(p);
            if (p == 6) needs.butterflies.insert(3);
            if (s > 0)
                (realInput && hasRealPass(p) ? needs.realPasses : needs.passes).insert(p);
            else
                (realInput ? needs.realLeaves : needs.leaves).insert(p);
        } else if (s > 0) {
            (realInput && hasRealPass(p) ? needs.realPasses : needs.passes).insert(p);
            needs.oddRoots = true;
        } else if (p > kScratchRadixLimit) {
            (realInput ? needs.directRealLeaf : needs.directLeaf) = true;
        } else {
            (realInput ? needs.realLeaves : needs.leaves).insert(p);
            needs.oddRoots = true;
        }
    }
}

bool foldsInverse(const FastPlan& plan) {
    return plan.radix.size() > 1 && hasOwnButterfly(plan.radix[0]) && convolutionRadices(plan).empty();
}

bool hasVectorSupport(const FastNeeds& needs) {
    for (int32_t p : needs.passes)
        if (hasOwnButterfly(p)) return true;
    for (int32_t p : needs.realPasses)
        if (hasOwnButterfly(p)) return true;
    return false;
}

namespace {

// A butterfly that only some lanes call: the scalar one of a radix whose
// passes all run on the split form where it holds, the vector one of a leaf
// radix on it, where it does not.
std::string butterfly(const FastText& t, int32_t p, bool vector, const FastNeeds& needs) {
    const bool some = vector ? needs.splitLeaves.count(p) > 0
                             : needs.narrowestSplit.count(p) && !needs.pairPasses.count(p);
    return ownButterfly(t, p, vector, some);
}

}  // namespace

void writeButterflies(SourceWriter& w, const FastText& t, const FastNeeds& needs) {
    const auto& bf = needs.butterflies;
    if (bf.count(2)) w.writeText(butterfly(t, 2, false, needs).c_str());
    for (int32_t p : bf)
        if (isStraightLinePrime(p)) w.writeText(butterfly(t, p, false, needs).c_str());
    if (bf.count(4)) w.writeText(butterfly(t, 4, false, needs).c_str());
    if (bf.count(8)) w.writeText(butterfly(t, 8, false, needs).c_str());
    if (bf.count(6)) w.writeText(butterfly(t, 6, false, needs).c_str());
    if (needs.oddRoots) w.writeText(rootLoopButterfly(t).c_str());

    for (int32_t p : needs.leaves)
        if (hasOwnButterfly(p)) w.writeText(ownLeaf(t, p, false).c_str());
    for (int32_t p : needs.realLeaves)
        if (hasOwnButterfly(p)) w.writeText(ownLeaf(t, p, true).c_str());
    if (needs.inverseLeaf) w.writeText(ownLeaf(t, needs.inverseLeaf, false, true).c_str());
    // For the leaves the lanes leave over on the split form.
    if (needs.inverseLeftover)
        w.writeText(ownLeaf(t, needs.inverseLeaf, false, true, true).c_str());
    bool oddLeaf = false, oddRealLeaf = false;
    for (int32_t p : needs.leaves) oddLeaf |= !hasOwnButterfly(p);
    for (int32_t p : needs.realLeaves) oddRealLeaf |= !hasOwnButterfly(p);
    if (oddLeaf) w.writeText(rootLoopLeaf(t, false).c_str());
    if (oddRealLeaf) w.writeText(rootLoopLeaf(t, true).c_str());
    if (needs.directLeaf) w.writeText(directLeaf(t, false).c_str());
    if (needs.directRealLeaf) w.writeText(directLeaf(t, true).c_str());
    if (needs.convolution) writeConvolutionSupport(w, t.precision());

    // The vector butterflies of the passes, from the scalar ones.
    std::set<int32_t> vectorBf;
    for (int32_t p : needs.passes)
        if (hasOwnButterfly(p)) vectorBf.insert(p);
    for (int32_t p : needs.realPasses)
        if (hasOwnButterfly(p)) vectorBf.insert(p);
    // A leaf without passes is the whole transform: it stays scalar.
    const bool vectorLeaves = !vectorBf.empty();
    for (int32_t p : needs.leaves)
        if (hasOwnButterfly(p) && vectorLeaves) vectorBf.insert(p);
    if (vectorBf.count(6)) vectorBf.insert(3);
    if (!vectorBf.empty()) {
        std::string v = kVectorSupport;
        v += "\n#ifdef KV_VECTOR";
        if (vectorBf.count(2)) v += butterfly(t, 2, true, needs);
        for (int32_t p : vectorBf)
            if (isStraightLinePrime(p)) v += butterfly(t, p, true, needs);
        if (vectorBf.count(4)) v += butterfly(t, 4, true, needs);
        if (vectorBf.count(8)) v += butterfly(t, 8, true, needs);
        if (vectorBf.count(6)) v += butterfly(t, 6, true, needs);
        // On pairs where the split form does not take all their calls.
        auto onPairs = [&](int32_t p) { return needs.pairLeaves.count(p) || !splitEverywhere(p, t); };
        for (int32_t p : needs.leaves)
            if (hasOwnButterfly(p) && vectorLeaves && onPairs(p)) v += vectorLeaf(t, p);
        if (needs.inverseLeaf && (!needs.inverseSplit || !splitEverywhere(needs.inverseLeaf, t)))
            v += vectorLeaf(t, needs.inverseLeaf, true);
        w.writeText((v + "#endif\n").c_str());
    }
    if (!needs.splitLeaves.empty()) {
        const int32_t widest = *needs.splitLeaves.rbegin();
        TextValues values = t.scalars({"real"});
        values["if"] = splitIf(widest, t);
        std::string v = expandTemplate("kSplitSupport", kSplitSupport, values);
        for (int32_t p : needs.splitLeaves) v += splitVectorLeaf(t, p, false, splitIf(p, t));
        if (needs.inverseSplit)
            v += splitVectorLeaf(t, needs.inverseLeaf, true, splitIf(needs.inverseLeaf, t));
        w.writeText(v.c_str());
    }

    bool oddPass = false;
    for (int32_t p : needs.passes) {
        if (!hasOwnButterfly(p))
            oddPass = true;
        else if (needs.pairPasses.count(p) || !needs.narrowestSplit.count(p))
            w.writeText(ownPass(p).c_str());
        else
            w.writeText(("\n#if !(" + splitIf(needs.narrowestSplit.at(p), t) + ")" + ownPass(p) + "#endif\n").c_str());
    }
    for (const auto& [p, width] : needs.splitPasses) w.writeText(splitPass(p, false, splitIf(width, t)).c_str());
    for (const auto& [p, width] : needs.joinPasses) w.writeText(splitPass(p, true, splitIf(width, t)).c_str());
    if (needs.inverseSplit)
        w.writeText(splitPass(needs.inverseJoin, true, splitIf(needs.inverseLeaf, t), true).c_str());
    bool oddRealPass = false, ownRealPass = false;
    for (int32_t p : needs.realPasses) (hasOwnButterfly(p) ? ownRealPass : oddRealPass) = true;
    if (!needs.realPasses.empty()) w.writeText(realPassSupport(ownRealPass).c_str());
    for (int32_t p : needs.realPasses)
        if (hasOwnButterfly(p)) w.writeText(realOwnPass(p).c_str());
    if (oddPass || oddRealPass) w.writeText(rootLoopPass().c_str());
    if (oddRealPass) w.writeText(realRootLoopPass().c_str());
}
