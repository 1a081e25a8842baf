// The leaves of a block in the order of their inputs: the digits of the leaf
// index weigh the input in reverse, so that the input offset rises with the
// index, digits.back().inStride reals a step, while the output offset jumps.
// It is counted up digit by digit.
#include "codegen/fast/leaf_loops.h"

#include "codegen/fast/fast_text.h"

std::string tabs(int depth) { return std::string(size_t(depth), '\t'); }

namespace {

int64_t leafCount(const LinearLeaves& v) {
    int64_t count = 1;
    for (const LeafDigit& d : v.digits) count *= d.count;
    return count;
}

// Moves at from the output of leaf c to that of leaf c + 1. The first
// digit needs no counter: the loop ends before it would wrap.
std::string advance(const std::vector<LeafDigit>& digits, int depth) {
    std::string a = tabs(depth) + format("at += %lld;\n", (long long)digits.back().outStride);
    int at = depth;
    for (size_t i = digits.size() - 1; i > 0; --i, ++at) {
        const LeafDigit &d = digits[i], &up = digits[i - 1];
        a += tabs(at) + format("if (++d%d == %d) {\n", d.stage, d.count);
        a += tabs(at + 1) + format("d%d = 0;\n", d.stage);
        a += tabs(at + 1) + format("at -= %lld;\n", (long long)(d.count * d.outStride - up.outStride));
    }
    for (size_t i = digits.size() - 1; i > 0; --i) a += tabs(--at) + "}\n";
    return a;
}

}  // namespace

std::string linearLeafDeclarations(const LinearLeaves& v, bool vector) {
    std::string s = vector ? "\tlong c, l, at, o[KV_LANES]" : "\tlong c, at";
    for (size_t i = 1; i < v.digits.size(); ++i) s += format(", d%d", v.digits[i].stage);
    return s + ";\n";
}

std::string linearLeafLoop(const LinearLeaves& v, int depth, bool vector) {
    const int64_t leaves = leafCount(v), step = v.digits.back().inStride, last = v.digits.back().outStride;
    const bool lastCounts = v.digits.size() > 1;
    std::string s = tabs(depth) + "c = " + v.first + ";\n";
    if (v.first == "0" || v.first == "1") {
        s += tabs(depth) + format("at = %lld;\n", (long long)(v.first == "0" ? 0 : last));
        if (lastCounts) s += tabs(depth) + format("d%d = %s;\n", v.digits.back().stage, v.first.c_str());
    } else {
        s += tabs(depth) + format("at = c * %lld;\n", (long long)last);
        if (lastCounts) s += tabs(depth) + format("d%d = c;\n", v.digits.back().stage);
    }
    for (size_t i = 1; i + 1 < v.digits.size(); ++i) s += tabs(depth) + format("d%d = 0;\n", v.digits[i].stage);

    const char* const inverse = v.inverse ? "i" : "";
    const bool backwards = v.inverse && !v.swapped;
    if (vector) {
        // Backwards, the lanes load the leaves from the last to the first.
        s += tabs(depth) + format("for (; c + KV_LANES <= %lld; c += KV_LANES) {\n", (long long)leaves);
        s += tabs(depth + 1) + "for (l = 0; l < KV_LANES; l++) {\n";
        s += tabs(depth + 2) + (backwards ? "o[KV_LANES - 1 - l] = at;\n" : "o[l] = at;\n") + advance(v.digits, depth + 2);
        s += tabs(depth + 1) + "}\n";
        const std::string from = backwards ? format("%s - (c + KV_LANES - 1) * %lld", v.x.c_str(), (long long)step)
                                           : format("%s + c * %lld", v.x.c_str(), (long long)step);
        const long long stride = backwards ? -v.stride : v.stride;
        if (v.split)
            s += tabs(depth + 1) + format("kv_v%sleaf%d_split(%s, o, %s, %lld, %lld);\n", inverse, v.radix, v.y.c_str(),
                                          from.c_str(), stride, (long long)(step / 2));
        else
            s += tabs(depth + 1) + format("kv_v%sleaf%d(%s, o, %s, %lld, %lld);\n", inverse, v.radix, v.y.c_str(),
                                          from.c_str(), stride, (long long)(step / 2));
        s += tabs(depth) + "}\n";
    }
    // Where the lanes leave no leaf over, gcc warns of the loop that never
    // runs: it is left out then.
    const bool known = v.first == "0" || v.first == "1";
    if (vector && known) s += format("#if (%lld - %s) %% KV_LANES != 0\n", (long long)leaves, v.first.c_str());
    s += tabs(depth) + format("for (; c < %lld; c++) {\n", (long long)leaves);
    s += tabs(depth + 1) + format("kv_%sleaf%d(%s + at, %s %s c * %lld, %lld);\n", v.swapped ? "s" : inverse, v.radix,
                                  v.y.c_str(), v.x.c_str(), backwards ? "-" : "+", (long long)step,
                                  (long long)(backwards ? -v.stride : v.stride));
    if (v.split) s += tabs(depth + 1) + format("kv_into_split(%s + at, %d);\n", v.y.c_str(), v.radix);
    s += advance(v.digits, depth + 1) + tabs(depth) + "}\n";
    if (vector && known) s += "#endif\n";
    return s;
}
