// The convolution that computes large prime radices in the fast style: its
// generated functions built with the system compilers, checked against a
// direct DFT in both precisions, and compiled in every language mode that
// the fast file promises to compile in without a warning.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "codegen/fast/convolution.h"
#include "convolution_errors.h"
#include "codegen/output/source_writer.h"
#include "process_runner.h"
#include "test_support.h"

namespace {

struct PrecisionCase {
    Precision precision;
    const char* scalar;
    double bound;  // largest error over largest output
};
const PrecisionCase kPrecisions[] = {{Precision::Double, "double", 1e-12}, {Precision::Single, "float", 2e-5}};

// Just above the threshold; p - 1 = 2 * 1019 and 2 * 2003; far above, up to
// the largest radix of an accepted length (249982 = 2 * 124991), 49999 in
// double by radix-5 passes over a power of two (5^5 * 2^5); by Rader's
// algorithm 65537 (p - 1 a power of two), 12289 (3 * 2^12) and in double
// 7681 (15 * 2^9).
const int32_t kPrimes[] = {101, 2039, 4007, 49999, 65537, 124991, 12289, 7681};

std::string writeSupport(const PrecisionCase& c) {
    const std::string name = std::string("kv_conv_") + c.scalar + ".inc";
    auto writer = SourceWriter::open(name.c_str(), "w");
    writeConvolutionSupport(*writer, c.precision);
    EXPECT_EQ(writer->close(), 0);
    return std::filesystem::absolute(name).string();
}

TEST(LargePrime, ConvolutionForPrimesAboveTheThresholdOnly) {
    for (int32_t p : kPrimes) EXPECT_TRUE(usesConvolution(p)) << p;
    for (int32_t n : {2, 3, 97, 1001, 65536, 124993}) EXPECT_FALSE(usesConvolution(n)) << n;
}

// The lengths of the cost model: radix-5 passes (and Rader's algorithm
// where 5 divides p - 1) in double only, where they are faster; in single
// the lengths 3^b * 2^a that it always had. The programs of both tests print
// the C's choice, which must be the same.
TEST(LargePrime, ConvolutionLengthsOfEachPrecision) {
    const struct {
        int32_t p;
        int64_t inDouble, inSingle;
    } cases[] = {
        {101, 192, 192},            // 3 * 2^6 in both
        {311, 640, 768},            // 5 * 2^7 against 3 * 2^8
        {49999, 100000, 110592},    // 5^5 * 2^5 against 27 * 2^12
        {124991, 262144, 262144},   // 2^18: 5^6 * 2^4 costs more
        {1201, 1200, 2592},         // Rader's with p - 1 = 75 * 2^4 in double
        {7681, 7680, 16384},        // Rader's with p - 1 = 15 * 2^9 in double
        {65537, 65536, 65536},      // Rader's in both
    };
    for (const auto& c : cases) {
        EXPECT_EQ(convolutionLength(c.p, Precision::Double), c.inDouble) << c.p;
        EXPECT_EQ(convolutionLength(c.p, Precision::Single), c.inSingle) << c.p;
    }
}

TEST(LargePrime, TransformsMatchADirectDft) {
    ScratchDir dir;
    for (const PrecisionCase& c : kPrecisions) {
        const std::string exe = std::string("./conv_") + c.scalar;
        const ProcessResult build = runProcess(
            {"/usr/bin/g++", "-std=c++17", "-O2", "-fsanitize=address,undefined", "-fno-sanitize-recover=all",
             std::string("-DREAL=") + c.scalar, "-DSUPPORT=\"" + writeSupport(c) + "\"",
             KALVORIN_TEST_SOURCE "/large_prime_harness.cpp", "-o", exe});
        ASSERT_EQ(build.status, 0) << build.err;
        expectConvolutionErrorsWithin(exe, {std::begin(kPrimes), std::end(kPrimes)}, c.precision, c.bound, c.scalar);
    }
}

TEST(LargePrime, CompilesCleanlyAsCAndCpp) {
    for (const char* compiler : {"/usr/bin/gcc", "/usr/bin/clang"})
        if (!std::filesystem::exists(compiler)) GTEST_SKIP() << compiler << " is not installed";
    ScratchDir dir;
    for (const PrecisionCase& c : kPrecisions) {
        const std::string unit = std::string("unit_") + c.scalar + ".c";
        // As in a file whose transforms never read real input through it:
        // kv_conv_dft_real is not called.
        writeFile(unit, std::string("#include <math.h>\n#include <string.h>\ntypedef struct { ") + c.scalar + " re; " + c.scalar +
                            " im; } complex;\n#include \"" + writeSupport(c) +
                            "\"\nvoid use(complex *out, const complex *in, complex *work, const complex *tw)\n"
                            "{\n\tkv_conv_init(work, 101, tw, 1);\n\tkv_conv_dft(out, 1, in, 1, work, 101);\n}\n");
        for (const char* compiler : {"/usr/bin/gcc", "/usr/bin/clang"}) {
            for (const char* mode : {"c99", "c++98", "c++11", "c++14", "c++17", "c++20"}) {
                const bool cpp = mode[1] == '+';
                std::vector<std::string> command = {compiler, "-x", cpp ? "c++" : "c", std::string("-std=") + mode,
                                                    "-pedantic", "-Wall", "-Wextra", "-fsyntax-only", unit};
                if (c.precision == Precision::Single) command.push_back("-Wdouble-promotion");
                const ProcessResult result = runProcess(command);
                EXPECT_EQ(result.status, 0) << compiler << " " << mode << " " << c.scalar;
                EXPECT_EQ(result.err, "") << compiler << " " << mode << " " << c.scalar;
            }
        }
    }
}

}  // namespace
