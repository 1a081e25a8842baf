#include "plan/stage_wraps.h"

#include <algorithm>
#include <cstdio>

namespace {

void traceTerm(const TraceSink& sink, int h, int l) {
    if (!sink) return;
    char line[40];
    std::snprintf(line, sizeof line, "h=%d  l=%d\n", h, l);
    sink(line);
    // The trace was once followed by an unechoed keystroke read from the
    // console. Nothing here has a console to wait on (the window program
    // has none, and the command line must never stall), so no read is made.
}

// (radix[h] - 1) * tailProduct[h] * the sum of (radix[l] - 1) * headProduct[l]
// over l = h .. 0. Each term is traced as it is added; the order of the
// trace lines is part of the program's output.
int64_t bound(const RadixPlan& plan, int h, const TraceSink& trace) {
    int64_t sum = 0;
    for (int l = h; l >= 0; --l) {
        sum += int64_t(plan.radix[l] - 1) * plan.headProduct[l];
        traceTerm(trace, h, l);
    }
    return int64_t(plan.radix[h] - 1) * plan.tailProduct[h] * sum;
}

}  // namespace

int64_t wrapBound(const RadixPlan& plan, int h) { return bound(plan, h, {}); }

int64_t largestTwiddleIndex(const RadixPlan& plan) {
    int64_t largest = 0;
    for (int s = 0; s < plan.stageCount; ++s) largest = std::max(largest, bound(plan, s, {}));
    return largest;
}

bool stageWraps(const RadixPlan& plan, int h, const TraceSink& trace) { return bound(plan, h, trace) > plan.length; }

bool anyStageWraps(const RadixPlan& plan, const TraceSink& trace) {
    bool any = false;
    for (int s = 0; s < plan.stageCount; ++s) any = stageWraps(plan, s, trace) || any;  // no early exit: every stage traces
    return any;
}
