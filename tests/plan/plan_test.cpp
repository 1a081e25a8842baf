#include <gtest/gtest.h>

#include <vector>

#include "plan/radix_plan.h"
#include "plan/stage_wraps.h"
#include "prime_sieve.h"
#include "test_support.h"

namespace {

std::vector<int32_t> head(const std::array<int32_t, kMaxFactors>& a, int n) { return {a.begin(), a.begin() + n}; }
std::vector<int32_t> head(const std::array<int32_t, kMaxStages>& a, int n) { return {a.begin(), a.begin() + n}; }

TEST(Factorise, RefusesPrimesAndLengthsBelowFourWithoutTouchingFactors) {
    for (int32_t n : {INT32_MIN, -12, -1, 0, 1, 2, 3, 5, 7, 97, 32771, 249989}) {
        RadixPlan plan;
        plan.factors.fill(-7);
        EXPECT_EQ(factorise(plan, n), 0) << n;
        EXPECT_EQ(plan.factors[0], -7) << n;
    }
}

TEST(Factorise, FindsEveryPrimeFactorAscending) {
    struct Case {
        int32_t n;
        std::vector<int32_t> factors;
    };
    const Case cases[] = {
        {4, {2, 2}},
        {6, {2, 3}},
        {12, {2, 2, 3}},
        {60, {2, 2, 3, 5}},
        {250000, {2, 2, 2, 2, 5, 5, 5, 5, 5, 5}},
        {65542, {2, 32771}},
        {249982, {2, 124991}},
        {196608, {2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 3}},
        {131072, std::vector<int32_t>(17, 2)},
    };
    for (const auto& c : cases) {
        RadixPlan plan;
        const int count = factorise(plan, c.n);
        EXPECT_EQ(head(plan.factors, count), c.factors) << c.n;
    }
}

TEST(CompletePlan, StageTablesAndTexts) {
    struct Case {
        int32_t n;
        std::vector<int32_t> radix, tail, head;
        std::vector<int64_t> bounds;
        std::vector<bool> wraps;
    };
    const Case cases[] = {
        {4, {2, 2}, {2, 1}, {1, 2}, {2, 3}, {false, false}},
        {6, {3, 2}, {2, 1}, {1, 3}, {8, 5}, {true, false}},
        {12, {3, 2, 2}, {4, 2, 1}, {1, 3, 6}, {16, 10, 11}, {true, false, false}},
        {60, {5, 3, 2, 2}, {12, 4, 2, 1}, {1, 5, 15, 30}, {192, 112, 58, 59}, {true, true, false, false}},
        {65542, {32771, 2}, {2, 1}, {1, 32771}, {2147745800LL, 65541}, {true, false}},
        {249982, {124991, 2}, {2, 1}, {1, 124991}, {31245000200LL, 249981}, {true, false}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.n);
        const RadixPlan plan = planFor(c.n);
        const int m = plan.stageCount;
        ASSERT_EQ(m, int(c.radix.size()));
        EXPECT_EQ(head(plan.radix, m), c.radix);
        EXPECT_EQ(head(plan.tailProduct, m), c.tail);
        EXPECT_EQ(head(plan.headProduct, m), c.head);
        for (int s = 0; s < m; ++s) {
            EXPECT_EQ(plan.tailProductText[s].data(), std::to_string(c.tail[s]));
            EXPECT_EQ(plan.headProductText[s].data(), std::to_string(c.head[s]));
            EXPECT_EQ(wrapBound(plan, s), c.bounds[s]) << "stage " << s;
            EXPECT_EQ(stageWraps(plan, s, {}), c.wraps[s]) << "stage " << s;
        }
    }
}

TEST(CompletePlan, LargestPlans) {
    const RadixPlan p250000 = planFor(250000);
    EXPECT_EQ(p250000.stageCount, 10);
    EXPECT_EQ(head(p250000.radix, 10), (std::vector<int32_t>{5, 5, 5, 5, 5, 5, 2, 2, 2, 2}));
    EXPECT_EQ(p250000.tailProduct[0], 50000);
    EXPECT_STREQ(p250000.headProductText[9].data(), "125000");
    for (int s = 0; s < 10; ++s) EXPECT_EQ(stageWraps(p250000, s, {}), s < 6) << s;

    const RadixPlan p131072 = planFor(131072);
    EXPECT_EQ(p131072.stageCount, 17);
    EXPECT_FALSE(anyStageWraps(p131072, {}));

    const RadixPlan p196608 = planFor(196608);
    ASSERT_EQ(p196608.stageCount, 17);
    EXPECT_EQ(p196608.radix[0], 3);
    for (int s = 0; s < 17; ++s) EXPECT_EQ(stageWraps(p196608, s, {}), s == 0) << s;
}

// The invariants over every accepted length: the products multiply back to
// N, and a stage wraps exactly when its radix is 3 or more.
TEST(CompletePlan, InvariantsHoldForEveryAcceptedLength) {
    const PrimeSieve sieve(250000);
    int accepted = 0, beyond32 = 0;
    for (int32_t n = 4; n <= 250000; ++n) {
        if (sieve.isPrime(n)) continue;
        ++accepted;
        const RadixPlan plan = planFromFactors(n, sieve.factors(n));
        ASSERT_GE(plan.stageCount, 2);
        ASSERT_LE(plan.stageCount, 17);
        bool over = false;
        for (int s = 0; s < plan.stageCount; ++s) {
            ASSERT_EQ(int64_t(plan.headProduct[s]) * plan.radix[s] * plan.tailProduct[s], n);
            const int64_t bound = wrapBound(plan, s);
            ASSERT_NE(bound, n);
            ASSERT_EQ(bound > n, plan.radix[s] >= 3) << n << " stage " << s;
            over = over || bound > INT32_MAX;
        }
        beyond32 += over;
    }
    EXPECT_EQ(beyond32, 33356);
    EXPECT_GT(accepted, 200000);
}

TEST(StageWraps, TraceOfAnyStageWrapsFor12) {
    const RadixPlan plan = planFor(12);
    TraceCapture trace;
    EXPECT_TRUE(anyStageWraps(plan, trace.sink()));
    EXPECT_EQ(trace.lines, traceOf12({0, 1, 2}));
}

TEST(StageWraps, AnyStageWrapsIsFalseOnlyForPowersOfTwo) {
    for (int32_t n : {4, 8, 1024, 65536}) EXPECT_FALSE(anyStageWraps(planFor(n), {})) << n;
    for (int32_t n : {6, 9, 12, 1000, 30030, 249982}) EXPECT_TRUE(anyStageWraps(planFor(n), {})) << n;
    EXPECT_FALSE(anyStageWraps(RadixPlan{}, {}));
}

}  // namespace
