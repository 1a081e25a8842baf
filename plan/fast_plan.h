// The plan of the fast style: which butterflies run in which order. The
// transform is a decimation in time. The first pass (the leaf) gathers the
// input at a stride straight into the output, doing the digit reversal as it
// reads; every later pass works in place on the output.
#pragma once

#include <cstdint>
#include <vector>

// Lengths from this size on run their first passes block by block, on
// blocks of at most kBlockLimit entries, while the block is in the cache:
// 512 KiB in double precision, a second-level cache or a share of the last
// one (measured: 13 % faster than blocks of 8192 at 131072, the same at 65536).
constexpr int32_t kBlockedFrom = 65536;
constexpr int32_t kBlockLimit = 32768;

struct FastPlan {
    int32_t length = 0;
    std::vector<int32_t> primes;  // the prime factors of length, ascending, with multiplicity
    std::vector<int32_t> radix;  // in the order the passes run; radix[0] is the leaf
    int blockedStages = 0;       // the first ones run per block of blockLength; 0 for none
    int32_t blockLength = 0;
};

// The prime factors of n >= 2, ascending, with multiplicity (a prime gives itself).
std::vector<int32_t> primeFactorsOf(int32_t n);

// Groups the prime factors of a length into passes: twos into radix 8 and 4
// (a lone 2 joins a 3 as radix 6), the largest radix first as the leaf.
FastPlan makeFastPlan(const std::vector<int32_t>& primes);

// Real_FFT of an even length from 4 on transforms the N/2 input pairs as
// complex numbers and splits the result; of 2 and of an odd length, it runs
// the plan of N itself with a first pass that reads reals.
bool realUsesHalfLength(int32_t n);

// The plan of that half-length transform: the prime factors of the full
// plan but one 2.
FastPlan makeHalfPlan(const FastPlan& full);

// Product of the first count radices.
int32_t lengthAfter(const FastPlan& plan, int count);
