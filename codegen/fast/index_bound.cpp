#include "codegen/fast/index_bound.h"

#include <algorithm>
#include <vector>

#include "codegen/fast/convolution.h"

int64_t largestIntermediate(const FastPlan& plan, int tableStep, bool pairs, Precision precision) {
    const int64_t n = plan.length;
    const int64_t width = pairs ? 2 : 1;  // reals per input entry
    const int64_t leaf = plan.radix[0];
    const int64_t leafStride = n / leaf;
    int64_t largest = n;
    auto note = [&](int64_t v) { largest = std::max(largest, v); };

    // The leaf: output offset of a block, input offset of the block (the
    // digits of the block index with reversed weights), the input stride.
    int64_t inputOffset = 0, outputOffset = 0;
    for (size_t s = 1; s < plan.radix.size(); ++s) {
        const int64_t after = lengthAfter(plan, int(s) + 1);
        note((plan.radix[s] - 1) * lengthAfter(plan, int(s)));
        inputOffset += (plan.radix[s] - 1) * (n / after);
        outputOffset += (plan.radix[s] - 1) * lengthAfter(plan, int(s));
    }
    // The vector leaf counts the output offset up one leaf past the last:
    // at most the last digit's weight, the largest, more.
    if (plan.radix.size() > 1) note(outputOffset + lengthAfter(plan, int(plan.radix.size()) - 1));
    note(width * inputOffset);
    note(width * leafStride);
    note(width * (inputOffset + (leaf - 1) * leafStride) + 1);
    // A generic leaf walks the roots of unity of its radix: an index below
    // twice the radix, times the table step of those roots.
    note(2 * leaf);
    note((leaf - 1) * (n / leaf) * tableStep);

    // Later passes: block start, entry, twiddle index q*k*step.
    for (size_t s = 1; s < plan.radix.size(); ++s) {
        const int64_t p = plan.radix[s], sub = lengthAfter(plan, int(s)), blocks = n / (p * sub);
        const int64_t step = blocks * tableStep;
        note((blocks - 1) * p * sub);
        note(p * sub - 1);
        note((p - 1) * (sub - 1) * step);
        note(2 * p);
        note((p - 1) * (n / p) * tableStep);
    }

    // A radix done as a convolution: its work ends where its byte count
    // says, and kv_conv_length tries lengths 16 * 5^c * 3^b up to the first
    // of at least 2p - 34 for each c, and 16 * 5^c up to the first such
    // (c = 0 in single precision; its costs are doubles). The one block of
    // work for all of them is a byte count in the code.
    const bool radix5 = precision == Precision::Double;
    const int64_t realBytes = precision == Precision::Single ? 4 : 8;
    for (int32_t p : plan.radix)
        if (usesConvolution(p)) {
            note(convolutionWorkBytes(p, precision) / realBytes);
            note((radix5 ? 5 : 3) * (2 * int64_t(p) - 2));
            // Rader's order steps k -> k*g (mod p) from k < p.
            note((int64_t(p) - 1) * raderGenerator(p, precision));
        }
    note(planWorkBytes(plan, precision));
    return largest;
}

int64_t largestFileIntermediate(int32_t n, Precision precision) {
    const FastPlan full = makeFastPlan(primeFactorsOf(n));
    // Complex_FFT and IFFT read interleaved pairs; their output passes index
    // below N. An in-place call copies its input in a block of N entries
    // whose size is computed in size_t.
    const int64_t entryBytes = precision == Precision::Single ? 8 : 16;
    int64_t largest = std::max(largestIntermediate(full, 1, true, precision), entryBytes * n);
    if (realUsesHalfLength(n)) {
        // Real_FFT: N/2 packed pairs with every second twiddle, then the
        // split step over k and N-k.
        largest = std::max(largest, largestIntermediate(makeHalfPlan(full), 2, true, precision));
    } else {
        largest = std::max(largest, largestIntermediate(full, 1, false, precision));
    }
    return largest;
}
