// The factorisation as first written: every divisor from 2 up to N - 1, about
// N steps. Kept as the reference that the faster factorise must equal, and
// timed next to it by the generate benchmark.
#pragma once

#include <cstdint>

#include "plan/radix_plan.h"

inline int trialDivisionFactorise(RadixPlan& plan, int32_t n) {
    if (n <= 2) return 0;
    int count = 0;
    int32_t a = n;
    for (int32_t i = 2; i < n;) {
        if (a % i != 0) {
            ++i;
        } else {
            plan.factors[count++] = i;
            a /= i;
        }
    }
    return count;
}
