#include "plan/stage_wraps.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace {

TraceSink& traceSink() {
    static TraceSink sink = stdoutTraceSink();
    return sink;
}

void trace(int h, int l) {
    const TraceSink& sink = traceSink();
    if (!sink) return;
    char line[40];
    std::snprintf(line, sizeof line, "h=%d  l=%d\n", h, l);
    sink(line);
    // The trace was once followed by an unechoed keystroke read from the
    // console. Nothing here has a console to wait on (the window program
    // has none, and the command line must never stall), so no read is made.
}

// (radix[h] - 1) * tailProduct[h] * the sum of (radix[l] - 1) * headProduct[l]
// over l = h .. 0. When traced, each term is traced as it is added; the order
// of the trace lines is part of the program's output.
int64_t bound(const RadixPlan& plan, int h, bool traced) {
    int64_t sum = 0;
    for (int l = h; l >= 0; --l) {
        sum += int64_t(plan.radix[l] - 1) * plan.headProduct[l];
        if (traced) trace(h, l);
    }
    return int64_t(plan.radix[h] - 1) * plan.tailProduct[h] * sum;
}

}  // namespace

void setTraceSink(TraceSink sink) { traceSink() = std::move(sink); }

TraceSink stdoutTraceSink() {
    return [](const std::string& line) {
        std::fputs(line.c_str(), stdout);
        // Flushed at once so that a redirected trace survives a crash or a
        // window program that is killed rather than closed.
        std::fflush(stdout);
    };
}

int64_t wrapBound(const RadixPlan& plan, int h) { return bound(plan, h, false); }

int64_t largestTwiddleIndex(const RadixPlan& plan) {
    int64_t largest = 0;
    for (int s = 0; s < plan.stageCount; ++s) largest = std::max(largest, bound(plan, s, false));
    return largest;
}

bool stageWraps(const RadixPlan& plan, int h) { return bound(plan, h, true) > plan.length; }

bool anyStageWraps(const RadixPlan& plan) {
    bool any = false;
    for (int s = 0; s < plan.stageCount; ++s) any = stageWraps(plan, s) || any;  // no early exit: every stage traces
    return any;
}
