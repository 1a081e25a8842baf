// The radix plan: how a transform of length N is split into one stage per
// prime factor, largest factor first, with the products and decimal texts
// that the generated index arithmetic spells out.
#pragma once

#include <array>
#include <cstdint>
#include <string>

constexpr int kMaxFactors = 200;
constexpr int kMaxStages = 50;
constexpr int kProductTextSize = 7;  // "125000" plus terminator

struct RadixPlan {
    int32_t length = 0;
    // The length as the writers put it into the generated code. The command
    // stores the decimal form of N here, never the raw typed text, so that
    // the names inside the file always match the file name.
    std::string lengthText;
    std::array<int32_t, kMaxFactors> factors{};  // ascending, with multiplicity
    int stageCount = 0;
    std::array<int32_t, kMaxStages> radix{};        // descending
    std::array<int32_t, kMaxStages> tailProduct{};  // radix[s+1] * ... * radix[m-1]
    std::array<int32_t, kMaxStages> headProduct{};  // radix[0] * ... * radix[s-1]
    std::array<std::array<char, kProductTextSize>, kMaxStages> tailProductText{};
    std::array<std::array<char, kProductTextSize>, kMaxStages> headProductText{};
};

// The loop-variable names of the generated code: "k0".."k19", "j0".."j19".
struct LoopNames {
    static constexpr int kCount = 20;
    static const char* const k[kCount];
    static const char* const j[kCount];
};

// Trial division up to the square root. Returns the number of prime factors
// written to plan.factors; 0 for N <= 2, for negative N and for every prime
// N, and then plan.factors is left as it was.
int factorise(RadixPlan& plan, int32_t n);

// Fills the stage tables from the first `count` factors (count >= 1).
void completePlan(RadixPlan& plan, int count);
