// The limits of the generated code that a user has to be told about.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "command/generate_command.h"
#include "plan/stage_wraps.h"
#include "prime_sieve.h"
#include "process_runner.h"
#include "test_support.h"

namespace {

TEST(LargestTwiddleIndex, OfKnownPlans) {
    struct Case {
        int32_t n;
        int64_t largest;
    };
    const Case cases[] = {
        {4, 3},
        {12, 16},
        {60, 192},
        {65536, 65535},
        {65542, 2147745800},    // 2 x 32771: the smallest past 2^31 - 1
        {131072, 131071},
        {196608, 262144},       // the radix-3 stage: 2 x (196608 - 65536)
        {249982, 31245000200},  // 2 x 124991: the largest of all
        {250000, 999936},       // the last radix-5 stage: 4 x (250000 - 16)
    };
    for (const auto& c : cases) EXPECT_EQ(largestTwiddleIndex(planFor(c.n)), c.largest) << c.n;
}

// Every accepted length, factorised by a sieve rather than by the plan's own
// trial division. The README's rule for users is checked on the way: with p
// the largest prime factor and s the product of the factors below p, the
// largest index is (p - 1) x (N - s).
TEST(LargestTwiddleIndex, AcrossEveryAcceptedLength) {
    const PrimeSieve sieve(kMaxLength);
    int beyondLong32 = 0;
    int32_t first = 0;
    for (int32_t n = 4; n <= kMaxLength; ++n) {
        if (sieve.isPrime(n)) continue;  // refused
        const std::vector<int32_t> factors = sieve.factors(n);
        const int32_t p = factors.back();
        int64_t below = 1;
        for (int32_t factor : factors)
            if (factor < p) below *= factor;
        const int64_t largest = largestTwiddleIndex(planFromFactors(n, factors));
        ASSERT_EQ(largest, int64_t(p - 1) * (n - below)) << n;
        if (largest > INT32_MAX) {
            ++beyondLong32;
            if (!first) first = n;
        }
    }
    EXPECT_EQ(beyondLong32, 33356);
    EXPECT_EQ(first, 65542);
}

TEST(Cli, WarnsWhereA32BitLongOverflows) {
    struct Case {
        const char* length;
        bool warns;
    };
    const Case cases[] = {{"65542", true}, {"249982", true}, {"65536", false}, {"250000", false}, {"12", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        ScratchDir dir;
        const ProcessResult r = runProcess({KALVORIN_PROGRAM, "-y", c.length});
        EXPECT_EQ(r.status, 0);
        if (c.warns) {
            EXPECT_EQ(r.err.rfind("kalvorin: warning: FFT" + std::string(c.length) + ".cpp ", 0), 0u) << r.err;
            EXPECT_NE(r.err.find("32 bits"), std::string::npos) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        } else {
            EXPECT_EQ(r.err, "");
        }
        // The warning changes nothing in the file.
        const std::string name = "FFT" + std::string(c.length) + ".cpp";
        const std::string written = readFile(name);
        std::remove(name.c_str());
        RecordingDialogs ui;
        onGenerate(c.length, ui);
        EXPECT_EQ(written, readFile(name));
    }
    // Nothing written, nothing to warn about.
    ScratchDir dir;
    const ProcessResult declined = runProcess({KALVORIN_PROGRAM, "65542"});
    EXPECT_EQ(declined.err.find("warning"), std::string::npos) << declined.err;
}

}  // namespace
