// Large prime radices of the fast output style. A radix p above the
// threshold is not done as a direct butterfly (p*p per group) but as a
// convolution through power-of-two transforms (about 4p log p per group).
// The generated functions need work memory of convolutionWorkBytes(p),
// which the transform takes from the heap once per call.
#pragma once

#include <cstdint>

#include "codegen/fast/precision.h"
#include "plan/fast_plan.h"

class SourceWriter;

// p is prime and at least the measured threshold above which the
// convolution beats the direct butterfly.
bool usesConvolution(int32_t p);

// The bytes kv_conv_init needs for radix p: one allocation per call.
int64_t convolutionWorkBytes(int32_t p, Precision precision);

// The radix of a pass after the leaf that runs as a convolution (a prime of
// 100 or more; a plan has at most one), or 0.
int32_t convolutionPassRadix(const FastPlan& plan);
// The bytes of work a transform with this plan takes from FFT_MALLOC for its
// convolutions, in one allocation; 0 when its leaf is not one.
int64_t planWorkBytes(const FastPlan& plan, Precision precision);

// The kv_conv_* functions, once per file: kv_conv_init, kv_conv_dft and
// kv_conv_dft_real with their helpers. They expect <math.h>, <string.h> and the
// `complex` struct of the file's precision to be there already.
void writeConvolutionSupport(SourceWriter& w, Precision precision);
