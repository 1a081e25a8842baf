// The pieces of the fast-style file, each written by one part of the emitter.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "codegen/fast/fast_names.h"
#include "codegen/fast/fast_text.h"
#include "codegen/output/source_writer.h"
#include "codegen/fast/emitter_limits.h"
#include "plan/fast_plan.h"

// What the transforms of one file call, collected before anything is
// written, so that every static function in the file is used.
struct FastNeeds {
    std::set<int32_t> butterflies;  // kv_dft<p>
    std::set<int32_t> passes;       // kv_pass<p>
    std::set<int32_t> realPasses;   // kv_rpass<p>, of a transform of real input
    std::set<int32_t> leaves;       // kv_leaf<p>, reading interleaved pairs
    std::set<int32_t> realLeaves;   // kv_leaf<p>r, reading real input
    bool oddRoots = false;          // kv_dft_odd, the loop over the roots of an odd prime
    bool directLeaf = false;        // kv_leaf_direct, for a prime above the scratch limit
    bool directRealLeaf = false;
    bool convolution = false;  // kv_conv_*: a leaf radix done as a convolution
    // kv_ileaf<p> and kv_vileaf<p>, IFFT's leaves of radix inverseLeaf that
    // scale by 1 / inverseLength; 0 for none.
    int32_t inverseLeaf = 0;
    int32_t inverseLength = 0;
    // The split form (splitWidth): kv_vleaf<p>_split for the leaf radices
    // in splitLeaves, kv_vileaf<p>_split with inverseSplit, and the passes
    // on it, each radix with the widest leaf radix of the transforms that
    // call it; pairLeaves, the radices of vector leaves on pairs.
    std::set<int32_t> splitLeaves;
    bool inverseSplit = false;
    int32_t inverseJoin = 0;  // with inverseSplit, the radix of kv_pass<p>_join_swap
    bool inverseLeftover = false;  // kv_sleaf<p>, for leaves that the lanes leave over
    std::map<int32_t, int32_t> splitPasses, joinPasses;
    std::set<int32_t> pairLeaves;
    // kv_pass<p> of the transforms on pairs, and of those on the split
    // form the narrowest leaf radix: they call it where it does not hold.
    std::set<int32_t> pairPasses;
    std::map<int32_t, int32_t> narrowestSplit;
};

// Whether the transform of this plan keeps its entries in the split form
// between its passes, where the vectors have four lanes or more and divide
// its leaf radix: a complex transform on butterflies of their own, with a
// leaf radix that is a multiple of four. Its leaf radix then, or 0.
int32_t splitWidth(const FastPlan& plan, bool realInput);
// The #if under which the transforms of leaf radix width take the split
// form, and whether that holds wherever their vector leaves run.
std::string splitIf(int32_t width, const FastText& t);
bool splitEverywhere(int32_t width, const FastText& t);

// Whether radix p has a butterfly of its own (kv_dft<p>) rather than the
// loop over its roots.
bool hasOwnButterfly(int32_t p);

// The call of the leaf of radix p: y and x are the output and input
// expressions, stride the input stride in reals, rootStep how far apart the
// p-th roots of unity lie in pSinCosTable (T).
std::string leafCall(int32_t p, bool realInput, const std::string& y, const std::string& x, int64_t stride,
                     int64_t rootStep);
// The call of one pass of radix p over blocks of p*sub entries.
std::string passCall(int32_t p, const std::string& d, int64_t sub, int64_t blocks, int64_t twiddleStep,
                     int64_t rootStep);

// real_passes.cpp: whether a pass of radix p in a transform of real input
// of odd length computes half its butterflies (kv_rpass<p>, kv_rpass_odd),
// and its call; whole when its input blocks are complete, full when it
// writes all its outputs, as the last pass and one before a pass of the
// complex transform must. realPassWritesAll: whether the leaf or pass of
// this stage of a transform of real input writes all its outputs.
bool hasRealPass(int32_t p);
bool realPassWritesAll(const FastPlan& plan, int stage);
std::string realPassCall(int32_t p, const std::string& d, int64_t sub, int64_t blocks, int64_t twiddleStep,
                         int64_t rootStep, bool whole, bool full);

// Adds what a transform with this plan calls.
void collectNeeds(const FastPlan& plan, bool realInput, FastNeeds& needs);

// Whether the file has the vector types and loads (the passes of radices
// with a butterfly of their own have a vector loop).
bool hasVectorSupport(const FastNeeds& needs);

// The butterflies, leaves and passes in needs, dependencies first.
void writeButterflies(SourceWriter& w, const FastText& t, const FastNeeds& needs);

// The comment at the head of the file: full the plan of the complex
// transforms, half that of the half-length transform inside Real_FFT, or
// null when the length is odd; the functions named as names gives them.
std::string headerComment(const FastPlan& full, const FastPlan* half, const FastNames& names);

// static void <name>(complex *y, const REAL *x, const complex *T): the
// whole forward transform of plan, its twiddles tableStep apart in T; with
// inverse, IFFT: the forward transform of the input read backwards, scaled
// by 1 / N in its leaves (only where foldsInverse).
void writeForward(SourceWriter& w, const FastText& t, const FastPlan& plan, const char* name, int tableStep,
                  bool realInput, bool inverse = false);

// Whether IFFT runs as such a transform of its own: with a leaf of a
// butterfly of its own and passes, and no convolution. Otherwise it is the
// forward transform followed by kv_reverse_scale.
bool foldsInverse(const FastPlan& plan);
