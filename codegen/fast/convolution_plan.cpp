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
// must agree, or the work memory is sized for another length.
int64_t convolutionLength(int32_t p) {
    int64_t n = 16;
    while (n < 2 * int64_t(p) - 2) n *= 2;
    return 3 * n / 4 >= 2 * int64_t(p) - 2 ? 3 * n / 4 : n;
}

}  // namespace

bool usesConvolution(int32_t p) { return p >= kConvolutionThreshold && isPrime(p); }

int64_t convolutionWorkBytes(int32_t p, Precision precision) {
    const int64_t reals = 5 * convolutionLength(p) + 2 * int64_t(p);
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
