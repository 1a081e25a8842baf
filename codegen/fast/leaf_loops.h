// The loops that call the leaves of a transform, shared by the forward
// transform and the inverse one that reads its input backwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One digit of the leaf index: leaf d_1 d_2 ... writes its outputs from
// sum d_s outStride on and reads its inputs from sum d_s inStride on.
struct LeafDigit {
    int stage;          // the pass this digit belongs to
    int32_t count;      // its radix
    int64_t outStride;  // entries in the output
    int64_t inStride;   // reals in the input
};

std::string tabs(int depth);

// The leaves of one block (of all leaves without blocking), most
// significant digit first, taken in the order of their inputs.
struct LinearLeaves {
    std::vector<LeafDigit> digits;
    int32_t radix = 0;
    int64_t stride = 0;  // reals between the inputs of a leaf
    // An inverse leaf c reads backwards from x - c * step (x: where leaf 0
    // would read, one entry past the block's inputs) and scales; leaf 0 of
    // the transform, which reads forwards, is left to the caller.
    bool inverse = false;
    // IFFT's leaves on the split form read forwards like the forward ones,
    // with the real and imaginary parts of the input swapped: the vector
    // leaf kv_vileaf<p>_split, the scalar kv_sleaf<p>.
    bool swapped = false;
    std::string y, x;
    std::string first;  // the first leaf of the block: "0", "1", or an expression
    // The leaves write the split form: the vector leaf kv_vleaf<p>_split,
    // side by side inputs; the scalar leaf's pairs are split after it.
    bool split = false;
};

// Declares what the loop uses: c, at, the counters of digits[1..], and with
// vectors l and o[KV_LANES].
std::string linearLeafDeclarations(const LinearLeaves& leaves, bool vector);

// The loop: KV_LANES leaves at a time on the vector leaf when vector, the
// rest (all without vector) on the scalar one.
std::string linearLeafLoop(const LinearLeaves& leaves, int depth, bool vector);
