// factorise against the trial division it replaced. The trial division costs
// about N steps, far too many to run for every length, so every length is
// checked against a sieve instead, and the sieve and factorise are both
// checked against the trial division on all short and on sampled long ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "command/generate_command.h"
#include "plan/radix_plan.h"
#include "prime_sieve.h"
#include "trial_division.h"

namespace {

const int32_t kSentinel = -7;

struct Result {
    int count;
    std::vector<int32_t> factors;  // all kMaxFactors entries, to see what was touched
    bool operator==(const Result& o) const { return count == o.count && factors == o.factors; }
};

template <typename F>
Result run(F factoriseWith, int32_t n) {
    RadixPlan plan;
    plan.factors.fill(kSentinel);
    const int count = factoriseWith(plan, n);
    return {count, {plan.factors.begin(), plan.factors.end()}};
}

Result fast(int32_t n) { return run(factorise, n); }
Result trial(int32_t n) { return run(trialDivisionFactorise, n); }

// What the trial division yields, from the sieve: the prime factors
// ascending for a composite n, nothing at all otherwise.
Result expected(const PrimeSieve& sieve, int32_t n) {
    Result r{0, std::vector<int32_t>(kMaxFactors, kSentinel)};
    if (n <= 2 || sieve.isPrime(n)) return r;
    for (int32_t factor : sieve.factors(n)) r.factors[r.count++] = factor;
    return r;
}

TEST(FactoriseReference, EqualsTheSieveForEveryLengthUpToTheLimit) {
    const PrimeSieve sieve(kMaxLength);
    int mismatches = 0;
    for (int32_t n = -10; n <= kMaxLength && mismatches < 10; ++n)
        if (!(fast(n) == expected(sieve, n))) {
            ADD_FAILURE() << "N = " << n;
            ++mismatches;
        }
}

// All short lengths, the edge cases, lengths with a large prime factor or a
// squared prime, and a fixed random sample of the long ones.
std::vector<int32_t> checkedLengths() {
    std::vector<int32_t> ns = {INT32_MIN, INT32_MIN + 1, -250000, -12};
    for (int32_t n = -10; n <= 5000; ++n) ns.push_back(n);
    for (int32_t n : {65542, 131072, 196608, 241081, 248832, 249001, 249982, 249989, 249999, 250000}) ns.push_back(n);
    std::mt19937 rng(20240607);
    std::uniform_int_distribution<int32_t> pick(5001, kMaxLength);
    for (int i = 0; i < 3000; ++i) ns.push_back(pick(rng));
    return ns;
}

TEST(FactoriseReference, EqualsTheTrialDivisionOnShortAndSampledLengths) {
    const PrimeSieve sieve(kMaxLength);
    for (int32_t n : checkedLengths()) {
        const Result reference = trial(n);
        EXPECT_EQ(fast(n), reference) << "N = " << n;
        if (n >= 0) {
            EXPECT_EQ(expected(sieve, n), reference) << "sieve, N = " << n;
        }
    }
}

// Beyond the reach of the trial division (2^31 steps), where the divisor
// passes 46340, whose square no longer fits in 32 bits.
TEST(FactoriseReference, LargestThirtyTwoBitLengths) {
    for (int32_t n : {INT32_MAX, 2147483629})
        EXPECT_EQ(fast(n).count, 0) << n;
    const Result squareOfPrime = fast(46337 * 46337);
    EXPECT_EQ(squareOfPrime.count, 2);
    EXPECT_EQ(squareOfPrime.factors[0], 46337);
    EXPECT_EQ(squareOfPrime.factors[1], 46337);
}

}  // namespace
