// Whether a stage's twiddle index can run past the N-entry table, so that
// the generated code must reduce it modulo N. Every evaluation also writes
// the diagnostic trace "h=%d  l=%d" of each term it adds, to the sink the
// caller passes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "plan/radix_plan.h"

// Receives each trace line, "\n" included. An empty sink drops the trace.
// The command layer declares the same alias for the front ends, which
// cannot see this header.
using TraceSink = std::function<void(const std::string& line)>;

// The largest value the twiddle index of stage h takes, in 64 bits: it
// passes 2^31 for many accepted lengths (65542 is the smallest).
int64_t wrapBound(const RadixPlan& plan, int h);

// The largest twiddle index over all stages, which the generated code
// computes in long: above 2147483647 it overflows where long has 32 bits.
int64_t largestTwiddleIndex(const RadixPlan& plan);

bool stageWraps(const RadixPlan& plan, int h, const TraceSink& trace);
bool anyStageWraps(const RadixPlan& plan, const TraceSink& trace);
