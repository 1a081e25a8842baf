// What one generate command did, for the front end to act on: it is never
// read back from the command afterwards.
#pragma once

#include <cstdint>
#include <vector>

// How a command ended.
enum class GenerateOutcome {
    Written,              // the file was written in full
    RefusedTooLarge,      // the length is above the style's maximum (maxLength)
    RefusedNotComposite,  // the length is 0 or 1
    RefusedPrime,         // classic style only
    Declined,             // a question was answered No
    RefusedSpecialFile,   // the file's name is taken by a FIFO or a device
    Failed,               // a writer failed, or the file could not take its name
};

struct GenerateResult {
    GenerateOutcome outcome = GenerateOutcome::RefusedNotComposite;
    // The magnitude of the typed length, saturated at 2147483647; the file's
    // name and the names inside it use its decimal form.
    int32_t length = 0;
    // The prime factors in ascending order, as shown; empty when the length
    // was refused.
    std::vector<int32_t> factors;
    // The largest twiddle index that the classic file of this length
    // computes, in long: above 2147483647 it overflows where long has 32
    // bits. Set whenever the length was accepted, whatever style was asked
    // for; the fast style keeps every index below 2^31. 0 when refused.
    int64_t largestTwiddleIndex = 0;

    bool written() const { return outcome == GenerateOutcome::Written; }
};
