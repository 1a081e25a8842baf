// Which radices the fast style does as a convolution, and how much work
// memory that takes.
#include "codegen/fast/convolution.h"

#include <cstddef>

namespace {

// The smallest prime done by the convolution. Measured over about 100000
// points (N/p groups of one call, the work prepared once per call) against
// the direct butterfly of the fast style: they break even between 59 and 73
// with -O2 and below 47 with -O3 -march=native; at 101 the convolution takes
// 0.66 and 0.37 of the direct time. Below 100 the gain is too small to give
// up the promise of no heap for the lengths concerned.
constexpr int32_t kConvolutionThreshold = 100;

bool isPrime(int32_t n) {
    if (n < 2) return false;
    for (int32_t d = 2; d <= n / d; ++d)
        if (n % d == 0) return false;
    return true;
}

// The transform length the generated kv_conv_length picks for p; the two
// must agree, or the work memory is sized for another length: of the
// n = 3^b * 2^a >= 2p - 2 with 2^a >= 16, the one of least cost per value
// (10 for a radix-4 pass, 4 for a radix-2 pass, 12 for a radix-3 pass).
int64_t convolutionLength(int32_t p) {
    const int64_t least = 2 * int64_t(p) - 2;
    int64_t best = 0, bestCost = 0;
    for (int64_t f = 16, b = 0;; f *= 3, ++b) {
        int64_t n = f, a = 4;
        for (; n < least; n *= 2) ++a;
        const int64_t cost = n * (a / 2 * 10 + a % 2 * 4 + b * 12);
        if (best == 0 || cost < bestCost) {
            best = n;
            bestCost = cost;
        }
        if (f >= least) return best;
    }
}

}  // namespace

bool usesConvolution(int32_t p) { return p >= kConvolutionThreshold && isPrime(p); }

int64_t convolutionWorkBytes(int32_t p, Precision precision) {
    // kv_conv_parts: four arrays of n values 16 apart, the twiddles, the chirp.
    const int64_t reals = 4 * (convolutionLength(p) + 16) + convolutionLength(p) + 2 * int64_t(p);
    return reals * (precision == Precision::Single ? 4 : 8);
}

int32_t convolutionPassRadix(const FastPlan& plan) {
    for (size_t st = 1; st < plan.radix.size(); ++st)
        if (usesConvolution(plan.radix[st])) return plan.radix[st];
    return 0;
}

int64_t planWorkBytes(const FastPlan& plan, Precision precision) {
    if (plan.radix.empty() || !usesConvolution(plan.radix[0])) return 0;
    const int32_t second = convolutionPassRadix(plan);
    return convolutionWorkBytes(plan.radix[0], precision) +
           (second != 0 && second != plan.radix[0] ? convolutionWorkBytes(second, precision) : 0);
}
