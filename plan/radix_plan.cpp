#include "plan/radix_plan.h"

#include <cstdio>

const char* const LoopNames::k[kCount] = {
    "k0",  "k1",  "k2",  "k3",  "k4",  "k5",  "k6",  "k7",  "k8",  "k9",
    "k10", "k11", "k12", "k13", "k14", "k15", "k16", "k17", "k18", "k19"};
const char* const LoopNames::j[kCount] = {
    "j0",  "j1",  "j2",  "j3",  "j4",  "j5",  "j6",  "j7",  "j8",  "j9",
    "j10", "j11", "j12", "j13", "j14", "j15", "j16", "j17", "j18", "j19"};

int factorise(RadixPlan& plan, int32_t n) {
    if (n <= 2) return 0;
    int count = 0;
    int32_t a = n;
    // Divisors only need trying up to the square root of what is left (a / i
    // rather than i * i, which overflows near 2^31); the cofactor left over
    // is then a prime.
    for (int32_t i = 2; i <= a / i;) {
        if (a % i != 0) {
            ++i;
        } else {
            plan.factors[count++] = i;
            a /= i;
        }
    }
    // A prime N yields no factor at all, not even itself: that empty list
    // is how a prime length is refused.
    if (a > 1 && a < n) plan.factors[count++] = a;
    return count;
}

void completePlan(RadixPlan& plan, int count) {
    const int m = count;
    plan.stageCount = m;
    for (int s = 0; s < m; ++s) plan.radix[s] = plan.factors[m - 1 - s];
    int32_t tail = 1;
    for (int s = m - 1; s >= 0; --s) {
        plan.tailProduct[s] = tail;
        tail *= plan.radix[s];
    }
    int32_t head = 1;
    for (int s = 0; s < m; ++s) {
        plan.headProduct[s] = head;
        head *= plan.radix[s];
    }
    for (int s = 0; s < m; ++s)
        std::snprintf(plan.tailProductText[s].data(), kProductTextSize, "%d", plan.tailProduct[s]);
    for (int s = 0; s < m; ++s)
        std::snprintf(plan.headProductText[s].data(), kProductTextSize, "%d", plan.headProduct[s]);
}
