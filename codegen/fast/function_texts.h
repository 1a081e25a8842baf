// The text of the static functions of a fast-style file, each from the file
// of its kind; static_functions.cpp picks and orders them.
#pragma once

#include <cstdint>
#include <string>

#include "codegen/fast/fast_text.h"

// own_butterflies.cpp: kv_dft<p> for p = 2, 4, 6, 8 and the odd primes up
// to kStraightLineLimit, or with vector its twin kv_vdft<p> on kv_vcomplex.
bool isStraightLinePrime(int32_t p);
std::string ownButterfly(const FastText& t, int32_t p, bool vector, bool maybeUnused = false);

// odd_radix.cpp: kv_dft_odd, the loop over the roots of an odd radix; the
// leaf on it, kv_leaf_odd (r with realInput); the pass on it, kv_pass_odd
// with kv_mul; and kv_leaf_direct(r) for a prime above kScratchRadixLimit.
std::string rootLoopButterfly(const FastText& t);
std::string rootLoopLeaf(const FastText& t, bool realInput);
std::string rootLoopPass();
std::string directLeaf(const FastText& t, bool realInput);

// real_leaves.cpp: kv_leaf<p>r for an odd prime p with a butterfly of its
// own, on real arithmetic.
std::string realStraightLineLeaf(const FastText& t, int32_t p);

// own_leaves.cpp: kv_leaf<p>(r) on kv_dft<p>, and kv_vleaf<p>, KV_LANES
// leaves at once on kv_vdft<p>; scaled, IFFT's kv_ileaf<p> and kv_vileaf<p>,
// which divide their inputs by N (KV_SCALE); swapped, kv_sleaf<p>, which
// also swaps their real and imaginary parts.
std::string ownLeaf(const FastText& t, int32_t p, bool realInput, bool scaled = false, bool swapped = false);
std::string vectorLeaf(const FastText& t, int32_t p, bool scaled = false);
// kv_vleaf<p>_split (scaled, IFFT's kv_vileaf<p>_split, which swaps the
// parts too): the vector leaf that writes the split form (kSplitSupport),
// under #if lanesIf.
std::string splitVectorLeaf(const FastText& t, int32_t p, bool scaled, const std::string& lanesIf);

// own_passes.cpp: kv_pass<p> on kv_dft<p>, with a vector loop on kv_vdft<p>.
// "k + q * L", entry q of a pass's butterfly k; and the scalar loads of a
// butterfly's p entries into v, turned by their twiddles T[q * e].
std::string passEntry(int q);
std::string scalarTwiddledLoads(int32_t p);
// The vector loops' twiddle w[q] of the KV_LANES columns from k on, from
// the table and the lanes' turns lane[q], which vectorLaneTurns reads for
// q from `from` to p - 1, in lines that start with `indent`.
std::string vectorTwiddle(int q);
std::string vectorLaneTurns(int32_t p, int from, const char* indent);
std::string ownPass(int32_t p);
// kv_pass<p>_split and, joined, kv_pass<p>_join: the vector loop of
// kv_pass<p> on the split form, the latter writing pairs, under #if lanesIf;
// swapped, IFFT's kv_pass<p>_join_swap, which swaps the parts of each pair.
std::string splitPass(int32_t p, bool joined, const std::string& lanesIf, bool swapped = false);

// real_passes.cpp: kv_rpass<p> and kv_rpass_odd, the passes of a transform
// of real input; KV_WHOLE, which their calls use, and with vectors
// the helpers of their vector loops, inside #ifdef KV_VECTOR.
std::string realOwnPass(int32_t p);
std::string realRootLoopPass();
std::string realPassSupport(bool vectors);

// vector_support.cpp: the vector loads, stores and products, inside
// #ifdef KV_VECTOR.
extern const char* const kVectorSupport;
// The loads and stores of the split form and kv_into_split, under #if @{if}.
extern const char* const kSplitSupport;

// final_steps.cpp: kv_split, which turns the half-length transform into
// the output of Real_FFT for even n, and kv_reverse_scale, which turns the
// forward transform into the output of IFFT; with vectors, each has a
// vector loop.
std::string splitStep(const FastText& t, int32_t n, bool vectors);
std::string reverseStep(const FastText& t, int32_t n, bool vectors);

// real_inverse.cpp: the static steps of Real_IFFT (kv_unsplit for even n,
// kv_hartley_in and kv_hartley_out for odd n, with vector loops when
// vectors; kv_fill_nan_reals), and Real_IFFT itself under the given name.
std::string realInverseSteps(const FastText& t, int32_t n, bool vectors);
std::string realInverse(const FastText& t, const std::string& name, int32_t n);
