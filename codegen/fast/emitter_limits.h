// Limits of the fast-style emitter: which lengths it writes and which
// radices get which kind of code.
#pragma once

#include <cstdint>

// The longest length the fast style writes. Every integer its code forms
// stays below 2^31 (index_bound.h) up to 21717736 in both precisions: the
// prime 21717737 needs a convolution of 9 * 5^7 * 2^6 in double, and the
// byte count of its work memory, written into the code, passes 2^31. The
// limit is the power of two below that. Accuracy has room to spare there
// (9e-16 in double and 7e-7 in single at 16777213).
constexpr int32_t kFastMaxLength = 16777216;

// A radix up to this size keeps its work values in stack arrays. A larger
// prime is the leaf, which reads its input where it lies, or, in a length
// with two such primes (the smallest 503 x 503), a pass that runs only as a
// convolution.
constexpr int32_t kScratchRadixLimit = 500;

// Odd primes up to this size get a butterfly written out in straight-line
// code; larger ones a loop over their roots of unity.
constexpr int32_t kStraightLineLimit = 13;
