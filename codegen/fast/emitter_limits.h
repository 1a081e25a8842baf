// Limits of the fast-style emitter: which radices get which kind of code.
#pragma once

#include <cstdint>

// A radix up to this size keeps its work values in stack arrays; a larger
// prime can only be the leaf, which reads its input where it lies. Only one
// prime factor of a length up to 250000 can exceed it.
constexpr int32_t kScratchRadixLimit = 500;

// Odd primes up to this size get a butterfly written out in straight-line
// code; larger ones a loop over their roots of unity.
constexpr int32_t kStraightLineLimit = 13;
