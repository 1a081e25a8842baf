// Which radices the fast style does as a convolution, and how much work
// memory that takes.
#include "codegen/fast/convolution.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "codegen/fast/emitter_limits.h"

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

int64_t powerMod(int64_t x, int64_t e, int64_t p) {
    int64_t r = 1;
    for (x %= p; e > 0; e /= 2, x = x * x % p)
        if (e % 2) r = r * x % p;
    return r;
}

// As KV_CONV_RADIX5 in the C: the lengths have radix-5 passes in double
// precision only.
bool radix5(Precision precision) { return precision == Precision::Double; }

// p - 1 = 5^c * 3^b * 2^a with 2^a >= 16, c = 0 without radix 5.
bool raderLength(int64_t n, Precision precision) {
    if (n % 16) return false;
    while (n % 2 == 0) n /= 2;
    while (n % 3 == 0) n /= 3;
    while (radix5(precision) && n % 5 == 0) n /= 5;
    return n == 1;
}

}  // namespace

int64_t raderGenerator(int32_t p, Precision precision) {
    if (!raderLength(int64_t(p) - 1, precision)) return 0;
    for (int64_t g = 2; g <= INT32_MAX / p; ++g)
        if (powerMod(g, (p - 1) / 2, p) != 1 && ((p - 1) % 3 || powerMod(g, (p - 1) / 3, p) != 1) &&
            ((p - 1) % 5 || powerMod(g, (p - 1) / 5, p) != 1))
            return g;
    return 0;
}

// The generated kv_conv_length must agree, or the work memory is sized for
// another length.
int64_t convolutionLength(int32_t p, Precision precision) {
    if (raderGenerator(p, precision)) return int64_t(p) - 1;
    // Bluestein's: 2p - 2, less up to 32 that kv_conv_finish puts right.
    const int64_t least = 2 * int64_t(p) - 34;
    int64_t best = 0, bestCost = 0;
    for (int64_t f5 = 16, c = 0;; f5 *= 5, ++c) {
        for (int64_t f = f5, b = 0;; f *= 3, ++b) {
            int64_t n = f, a = 4;
            for (; n < least; n *= 2) ++a;
            // As kv_conv_length: radix 5 only where 2^a <= 256.
            const int64_t cost = n * (a / 2 * 10 + a % 2 * 4 + b * 12 + c * 13);
            if ((c == 0 || a <= 8) && (best == 0 || cost < bestCost)) {
                best = n;
                bestCost = cost;
            }
            if (f >= least) break;
        }
        if (!radix5(precision) || f5 >= least) return best;
    }
}

bool usesConvolution(int32_t p) { return p >= kConvolutionThreshold && isPrime(p); }

int64_t convolutionWorkBytes(int32_t p, Precision precision) {
    // kv_conv_parts: four arrays of n values 16 apart, the twiddles, the chirp.
    const int64_t n = convolutionLength(p, precision);
    const int64_t reals = 4 * (n + 16) + n + 2 * int64_t(p);
    return reals * (precision == Precision::Single ? 4 : 8);
}

std::vector<int32_t> convolutionRadices(const FastPlan& plan) {
    std::vector<int32_t> radices;
    for (int32_t p : plan.radix)
        if (usesConvolution(p) && std::find(radices.begin(), radices.end(), p) == radices.end()) radices.push_back(p);
    return radices;
}

bool needsWork(const FastPlan& plan) {
    for (size_t st = 1; st < plan.radix.size(); ++st)
        if (plan.radix[st] > kScratchRadixLimit) return true;
    return false;
}

int64_t planWorkBytes(const FastPlan& plan, Precision precision) {
    int64_t bytes = 0;
    for (int32_t p : convolutionRadices(plan)) bytes += convolutionWorkBytes(p, precision);
    return bytes;
}
