#include "codegen/fast/index_bound.h"

#include <algorithm>
#include <vector>

int64_t largestIntermediate(const FastPlan& plan, int tableStep, bool pairs) {
    const int64_t n = plan.length;
    const int64_t width = pairs ? 2 : 1;  // reals per input entry
    const int64_t leaf = plan.radix[0];
    const int64_t leafStride = n / leaf;
    int64_t largest = n;
    auto note = [&](int64_t v) { largest = std::max(largest, v); };

    // The leaf: output offset of a block, input offset of the block (the
    // digits of the block index with reversed weights), the input stride.
    int64_t inputOffset = 0;
    for (size_t s = 1; s < plan.radix.size(); ++s) {
        const int64_t after = lengthAfter(plan, int(s) + 1);
        note((plan.radix[s] - 1) * lengthAfter(plan, int(s)));
        inputOffset += (plan.radix[s] - 1) * (n / after);
    }
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
    return largest;
}

int64_t largestFileIntermediate(int32_t n) {
    const std::vector<int32_t> primes = primeFactorsOf(n);
    // Complex_FFT and IFFT read interleaved pairs; their output passes index below N.
    int64_t largest = largestIntermediate(makeFastPlan(primes), 1, true);
    if (n % 2 == 0) {
        // Real_FFT: N/2 packed pairs with every second twiddle, then the
        // split step over k and N-k.
        std::vector<int32_t> half(primes.begin() + 1, primes.end());
        largest = std::max(largest, largestIntermediate(makeFastPlan(half), 2, true));
    } else {
        largest = std::max(largest, largestIntermediate(makeFastPlan(primes), 1, false));
    }
    return largest;
}
