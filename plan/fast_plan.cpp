#include "plan/fast_plan.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "plan/radix_plan.h"

std::vector<int32_t> primeFactorsOf(int32_t n) {
    RadixPlan scratch;
    const int count = factorise(scratch, n);
    if (count == 0) return {n};  // factorise leaves a prime (and 2) unfactored
    return std::vector<int32_t>(scratch.factors.begin(), scratch.factors.begin() + count);
}

namespace {

// The passes that follow the blocks each sweep the whole array, which no
// longer fits in the cache: as few of them as the block limit allows, and of
// those the ones that leave the longest block. They run last, in descending
// order, the rest of the radices in the blocks (240000: 8 6 5 5 5 5, then
// one pass of 8, instead of two of 5 after blocks of 9600).
void blockPasses(FastPlan& plan) {
    const int m = int(plan.radix.size());
    const int64_t need = (plan.length + kBlockLimit - 1) / kBlockLimit;
    // Each distinct radix after the leaf with its count, largest first.
    std::vector<std::pair<int32_t, int>> kinds;
    for (int s = 1; s < m; ++s) {
        if (!kinds.empty() && kinds.back().first == plan.radix[s])
            ++kinds.back().second;
        else
            kinds.push_back({plan.radix[s], 1});
    }
    // best: how many of each kind sweep, for the fewest passes of the least
    // product that is at least need. The leaf and one pass stay in the block.
    const int most = m - 2;
    std::vector<int> take(kinds.size()), best;
    int bestCount = 0;
    int64_t bestProduct = 0;
    std::function<void(size_t, int, int64_t)> choose = [&](size_t k, int count, int64_t product) {
        if (count > most || (!best.empty() && count > bestCount)) return;
        if (product >= need) {
            if (best.empty() || count < bestCount || product < bestProduct) {
                bestCount = count;
                bestProduct = product;
                best = take;
            }
            return;
        }
        if (k == kinds.size()) return;
        for (int c = kinds[k].second; c >= 0; --c) {
            int64_t p = product;
            for (int i = 0; i < c; ++i) p *= kinds[k].first;
            take[k] = c;
            choose(k + 1, count + c, p);
        }
        take[k] = 0;
    };
    choose(0, 0, 1);
    if (best.empty()) return;

    std::vector<int32_t> inBlock{plan.radix[0]}, sweeps;
    for (size_t k = 0; k < kinds.size(); ++k)
        for (int i = 0; i < kinds[k].second; ++i) (i < best[k] ? sweeps : inBlock).push_back(kinds[k].first);
    plan.radix = inBlock;
    plan.radix.insert(plan.radix.end(), sweeps.begin(), sweeps.end());
    plan.blockedStages = int(inBlock.size());
    plan.blockLength = int32_t(plan.length / bestProduct);
}

}  // namespace

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
    if (plan.length >= kBlockedFrom) blockPasses(plan);
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
