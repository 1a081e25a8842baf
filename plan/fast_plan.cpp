#include "plan/fast_plan.h"

#include <algorithm>
#include <functional>

#include "plan/radix_plan.h"

std::vector<int32_t> primeFactorsOf(int32_t n) {
    RadixPlan scratch;
    const int count = factorise(scratch, n);
    if (count == 0) return {n};  // factorise leaves a prime (and 2) unfactored
    return std::vector<int32_t>(scratch.factors.begin(), scratch.factors.begin() + count);
}

FastPlan makeFastPlan(const std::vector<int32_t>& primes) {
    FastPlan plan;
    plan.primes = primes;
    plan.length = 1;
    int twos = 0, threes = 0;
    std::vector<int32_t> radices;
    for (int32_t p : primes) {
        plan.length *= p;
        if (p == 2)
            ++twos;
        else if (p == 3)
            ++threes;
        else
            radices.push_back(p);
    }
    // Fewest passes for the twos without a radix-2 pass where it can be
    // avoided: 8s, then one or two 4s; a 2 left over pairs with a 3.
    if (twos % 3 == 1 && threes > 0) {
        radices.push_back(6);
        --twos;
        --threes;
    }
    if (twos == 1) {
        radices.push_back(2);
    } else if (twos > 0) {
        int fours = twos % 3 == 2 ? 1 : twos % 3 == 1 ? 2 : 0;
        for (int i = 0; i < fours; ++i) radices.push_back(4);
        for (int i = 0; i < (twos - 2 * fours) / 3; ++i) radices.push_back(8);
    }
    for (int i = 0; i < threes; ++i) radices.push_back(3);
    // The largest radix is the leaf: a large prime that the emitter cannot
    // run as a pass can only run there, and the leaf needs no twiddles.
    std::sort(radices.begin(), radices.end(), std::greater<int32_t>());
    plan.radix = radices;

    const int m = int(radices.size());
    if (plan.length >= kBlockedFrom) {
        for (int t = m - 1; t >= 2; --t) {
            if (lengthAfter(plan, t) <= kBlockLimit) {
                plan.blockedStages = t;
                plan.blockLength = lengthAfter(plan, t);
                break;
            }
        }
    }
    return plan;
}

bool realUsesHalfLength(int32_t n) { return n % 2 == 0 && n >= 4; }

FastPlan makeHalfPlan(const FastPlan& full) {
    // The primes ascend: a 2 among them comes first.
    return makeFastPlan(std::vector<int32_t>(full.primes.begin() + 1, full.primes.end()));
}

int32_t lengthAfter(const FastPlan& plan, int count) {
    int32_t l = 1;
    for (int s = 0; s < count; ++s) l *= plan.radix[s];
    return l;
}
