// codegen/fast/c/convolution.c (with the files it includes) as the
// repository holds it, before the build turns it into the generator's text:
// it compiles on its own as C99 without a warning, and its transforms match a direct DFT in both precisions with
// the work memory the generator sizes for them, in vectors of the
// narrowest and the widest width the machine has, and in plain C.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "codegen/fast/convolution.h"
#include "convolution_errors.h"
#include "process_runner.h"
#include "test_support.h"

namespace {

struct CPrecision {
    Precision precision;
    const char* scalar;
    double bound;  // largest error over largest output
};

TEST(ConvolutionC, CompilesAloneAsC99AndMatchesADirectDft) {
    const CPrecision precisions[] = {{Precision::Double, "double", 1e-13}, {Precision::Single, "float", 2e-6}};
    // Bluestein's convolutions of length 3 * 2^6 (just above the threshold,
    // 8 short of 2p - 2: outputs put right), 2^11, 9 * 2^8, and in double
    // 5 * 2^7 (a radix-5 pass first) and 75 * 2^5 (radix 3 over radix 5),
    // in single 3 * 2^8 and 81 * 2^5; Rader's of length p - 1 = 2^8,
    // 27 * 2^4 and in double 75 * 2^4 (Bluestein's 81 * 2^5 in single). In
    // double, 5 * 2^8 and 25 * 2^6 end in a pass of radix 4, with spans of
    // one to four vectors, each pass over all blocks below the radix-5
    // passes at once (in single 3 * 2^9 and 2^11).
    const int32_t primes[] = {101, 1009, 1103, 311, 1171, 257, 433, 1201, 599, 787};
    // The vectors of the build's width (their tails in plain C), and none.
    const char* const builds[] = {"-DKV_CONV_BUILD_DEFAULT", "-march=native", "-DKV_PORTABLE"};
    ScratchDir dir;
    for (const CPrecision& c : precisions) {
        for (const char* flag : builds) {
            SCOPED_TRACE(std::string(c.scalar) + " " + flag);
            const std::string exe = std::string("./conv_c_") + c.scalar;
            const ProcessResult build =
                runProcess({"/usr/bin/gcc", "-std=c99", "-Wall", "-Wextra", "-pedantic", "-Werror", "-O2",
                            "-fsanitize=address,undefined", "-fno-sanitize-recover=all", flag,
                            std::string("-DREAL=") + c.scalar, "-I" KALVORIN_TEST_SOURCE "/../codegen/fast/c",
                            KALVORIN_TEST_SOURCE "/codegen/fast/convolution_c_driver.c", "-o", exe, "-lm"});
            ASSERT_EQ(build.status, 0) << build.err;
            EXPECT_EQ(build.err, "");
            // A root as exact as its high table's entry; a product of two
            // rounded tables, or an angle not taken to the first octant, is
            // off by 3 epsilon.
            expectConvolutionErrorsWithin(exe, {std::begin(primes), std::end(primes)}, c.precision, c.bound, c.scalar,
                                          1.5);
        }
    }
}

}  // namespace
