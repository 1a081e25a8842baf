// The largest integer that the generated code of a fast-style file forms:
// a model of the emitter's index arithmetic, kept beside it, so that the
// promise of 32-bit indices can be checked for every length.
#pragma once

#include <cstdint>

#include "codegen/fast/precision.h"
#include "plan/fast_plan.h"

// The largest integer that the generated code of a transform with this plan
// forms, the byte counts it hands to FFT_MALLOC included. tableStep is how
// far apart its twiddles lie in the table (2 for the half-length transform
// inside Real_FFT); pairs says whether the input is read as interleaved
// re, im (index doubled).
int64_t largestIntermediate(const FastPlan& plan, int tableStep, bool pairs, Precision precision);

// The same over the whole file of length n: every transform and the steps
// around them.
int64_t largestFileIntermediate(int32_t n, Precision precision);
