// Large prime radices of the fast output style. A radix p above the
// threshold is not done as a direct butterfly (p*p per group) but as a
// convolution through power-of-two transforms (about 4p log p per group).
// The generated functions need work memory of convolutionWorkBytes(p),
// which the transform takes from the heap once per call.
#pragma once

#include <cstdint>
#include <vector>

#include "codegen/fast/precision.h"
#include "plan/fast_plan.h"

class SourceWriter;

// p is prime and at least the measured threshold above which the
// convolution beats the direct butterfly.
bool usesConvolution(int32_t p);

// The primitive root of p that the generated kv_conv_generator picks for
// Rader's algorithm: where p - 1 = 5^c * 3^b * 2^a with 2^a >= 16 (c = 0 in
// single precision), the least g with g * p below 2^31; otherwise (or if
// there is none) 0.
int64_t raderGenerator(int32_t p, Precision precision);

// The length n of the cyclic convolution for radix p in a file of this
// precision, as the generated kv_conv_length picks it: p - 1 where
// raderGenerator is not 0, or else (Bluestein's algorithm) of the
// n = 5^c * 3^b * 2^a >= 2p - 34 with 2^a >= 16, the one of least cost per
// value (10 for a radix-4 pass, 4 for a radix-2 pass, 12 for a radix-3
// pass, 13 for a radix-5 pass, which needs 2^a <= 256). The radix-5 passes
// are there in double precision only: in single they made 99998 slower.
int64_t convolutionLength(int32_t p, Precision precision);

// The bytes kv_conv_init needs for radix p: one allocation per call.
int64_t convolutionWorkBytes(int32_t p, Precision precision);

// The primes of 100 or more of a plan, each once, the leaf's first: the
// radices that run as convolutions, each in its own part of one block of
// work, in this order. Empty when the leaf is no such prime (then no pass
// is either: the leaf is the largest radix).
std::vector<int32_t> convolutionRadices(const FastPlan& plan);
// Whether a pass of the plan is a prime above kScratchRadixLimit (the
// second of two such primes), which runs only as a convolution: without its
// work the transform has no way to compute and gives NaN.
bool needsWork(const FastPlan& plan);
// The bytes of work a transform with this plan takes from FFT_MALLOC for its
// convolutions, in one allocation; 0 when it has none.
int64_t planWorkBytes(const FastPlan& plan, Precision precision);

// The kv_conv_* functions, once per file: kv_conv_init, kv_conv_dft and
// kv_conv_dft_real with their helpers. They expect <math.h>, <string.h> and the
// `complex` struct of the file's precision to be there already.
void writeConvolutionSupport(SourceWriter& w, Precision precision);
