// The fast style through its public interface: generated files, compiled
// with the system compilers, transform correctly in both precisions (all
// four transforms, Real_IFFT also back after Real_FFT), leave their input
// alone, work in place and on a small stack, fail loudly without heap, index
// safely with a 32-bit long and compile without a warning in every language
// mode a user may pick.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "codegen/fast/fast_file.h"
#include "codegen/fast/emitter_limits.h"
#include "codegen/fast/index_bound.h"
#include "plan/fast_plan.h"
#include "prime_sieve.h"
#include "process_runner.h"
#include "test_support.h"

namespace {

// Writes FFT<n>.cpp into the current directory.
std::string writeFast(int32_t n, Precision precision) {
    const std::string file = "FFT" + std::to_string(n) + ".cpp";
    const auto w = SourceWriter::open(file.c_str(), "w");
    EXPECT_TRUE(w);
    if (!w) return file;
    writeFastFile(*w, makeFastPlan(primeFactorsOf(n)), precision);
    EXPECT_EQ(w->close(), 0);
    return std::filesystem::absolute(file).string();
}

// Plain is -O2 as users compile, with the vector loops of gcc and clang;
// Portable the plain C loops every other compiler takes.
enum class Build { Plain, NoHeap, Long32, Native, Portable, Clang };

struct Case {
    int32_t n;
    Precision precision;
    Build build;
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.n << (c.precision == Precision::Single ? " single" : " double")
              << (c.build == Build::NoHeap   ? " without heap"
                  : c.build == Build::Long32 ? " 32-bit long"
                  : c.build == Build::Native ? " -O3 -march=native"
                  : c.build == Build::Portable ? " portable"
                  : c.build == Build::Clang    ? " clang -O2"
                                             : "");
}

class FastTransforms : public testing::TestWithParam<Case> {};

TEST_P(FastTransforms, MatchADirectDftThroughThePublicInterface) {
    const Case c = GetParam();
    ScratchDir dir;
    const std::string file = writeFast(c.n, c.precision);
    // As users compile: -O1 hid a miscompiled pass, and -march=native takes
    // other code paths.
    std::string flags = c.build == Build::Native ? "-O3 -march=native" : "-O2";
    if (c.build == Build::NoHeap) flags += " -DNO_HEAP '-DFFT_MALLOC(bytes)=0'";
    if (c.build == Build::Portable) flags += " -DKV_PORTABLE";
    if (c.build == Build::Long32) flags += " -DLONG_IS_INT -fsanitize=signed-integer-overflow -fno-sanitize-recover";
    std::string compiler = "c++";
    if (c.build == Build::Clang) {
        if (!std::filesystem::exists("/usr/bin/clang++")) GTEST_SKIP() << "no clang++";
        compiler = "/usr/bin/clang++";
    }
    const ProcessResult build =
        runProcess({"/bin/sh", "-c",
                    compiler + " -std=c++17 -pthread " + flags + " -DLEN=" + std::to_string(c.n) + " '-DGENERATED=\"" + file +
                        "\"' " KALVORIN_TEST_SOURCE "/fast_harness.cpp -o harness"});
    ASSERT_EQ(build.status, 0) << build.err;
    // The harness judges its output itself, as it does on other processors
    // (tests/cross): the bound of the precision, inputs kept, in place right.
    const ProcessResult run = runProcess({"./harness"});
    EXPECT_EQ(run.status, 0) << run.out << run.err;
}

const Precision D = Precision::Double, S = Precision::Single;
const Build P = Build::Plain;

// The radix mixes: 4 (a half of radix 2), 6, 12 = 4 3, 18 = 6 3, 98 = 7 7 2,
// 60 = 5 4 3, 96 = 8 4 3, 1024 = 8 8 4 4, 30030 = 13 11 7 6 5, 1144 = 13 11 8,
// 1292 = 19 17 4, the passes of radix 11 and 13 that a compiler has got
// wrong (676, 968, 1859, 6006), and 1147 = 37 31 (the loop over the roots,
// as leaf and as pass), the odd 15015 and 105945 (a first pass reading
// reals), the 17 stages of 131072 and the largest lengths, blocked.
// Compiled natively and portably, the vector leaves of even and odd radix
// on four and eight lanes run as well; blocked (131072) and over a radix-8
// digit whose inputs they gather (320 = 8 8 5, and 240000 blocked) too. Prime leaves done as a convolution:
// 1010 and the odd 303 just above the threshold (101), 2018 and 60540
// (1009), 105945 (1009, reading reals), 65542 (32771), 99998 (49999), 131074
// (65537, whose convolution is 2p - 2 long) and 249982 (124991, the
// largest); a second prime of 100 or more as a pass: 249001 = 499 499 (one
// work for both) and 20806 = 103 101 2 (two). Without heap they fall back to
// the direct leaf and pass: the loop over the roots (1010, 303, 20806) or
// the sweep of a prime above the scratch limit (2018). Real_IFFT runs in
// every case: its even and odd forms, the latter also on 9, the smallest
// odd length, and portably on 15015.
INSTANTIATE_TEST_SUITE_P(
    Lengths, FastTransforms,
    testing::Values(Case{4, D, P}, Case{6, D, P}, Case{12, D, P}, Case{18, D, P}, Case{98, D, P}, Case{60, D, P},
                    Case{96, D, P}, Case{1024, D, P}, Case{30030, D, P}, Case{1144, D, P}, Case{1292, D, P}, Case{1147, D, P},
                    Case{2018, D, P}, Case{60540, D, P}, Case{15015, D, P}, Case{105945, D, P}, Case{131072, D, P},
                    Case{196608, D, P}, Case{250000, D, P}, Case{4, S, P}, Case{60, S, P}, Case{1024, S, P},
                    Case{1147, S, P}, Case{2018, S, P}, Case{15015, S, P}, Case{131072, S, P}, Case{250000, S, P},
                    Case{1024, D, Build::NoHeap}, Case{2018, S, Build::NoHeap}, Case{60540, D, Build::Long32},
                    Case{250000, S, Build::Long32}, Case{1010, D, P}, Case{303, S, P}, Case{65542, D, P},
                    Case{65542, S, P}, Case{99998, D, P}, Case{99998, S, P}, Case{105945, S, P},
                    Case{131074, D, P}, Case{131074, S, P}, Case{249982, D, P}, Case{249982, S, P},
                    Case{249001, D, P}, Case{249001, S, P}, Case{20806, D, P}, Case{1010, D, Build::NoHeap},
                    Case{303, S, Build::NoHeap}, Case{1010, S, Build::NoHeap}, Case{20806, S, Build::NoHeap},
                    Case{249982, D, Build::Long32}, Case{245009, D, Build::Long32},
                    Case{676, D, P}, Case{968, D, P}, Case{1859, D, P},
                    Case{6006, D, P}, Case{1144, D, Build::Native}, Case{30030, D, Build::Native},
                    Case{15015, S, Build::Native}, Case{1024, S, Build::Native}, Case{131072, D, Build::Native},
                    Case{1144, D, Build::Portable}, Case{30030, D, Build::Portable}, Case{1024, S, Build::Portable},
                    Case{131072, S, Build::Portable}, Case{1144, D, Build::Clang}, Case{1024, S, Build::Clang},
                    Case{1024, D, Build::Native}, Case{1144, S, Build::Native}, Case{9, D, P},
                    Case{15015, D, Build::Portable}, Case{320, D, Build::Native}, Case{320, S, Build::Native},
                    Case{240000, S, Build::Native}));

// "warning: ..." and "error: ..." lines of a compiler's diagnostics.
std::vector<std::string> complaints(const std::string& diagnostics) {
    std::vector<std::string> found;
    std::istringstream lines(diagnostics);
    for (std::string line; std::getline(lines, line);)
        if (line.find("warning: ") != std::string::npos || line.find("error: ") != std::string::npos)
            found.push_back(line);
    return found;
}

class FastHygiene : public testing::TestWithParam<int32_t> {};

TEST_P(FastHygiene, CompilesWithoutAWarningAsC99AndCpp98To20) {
    ScratchDir dir;
    std::vector<std::string> compilers;
    for (const char* cc : {"/usr/bin/gcc", "/usr/bin/clang"})
        if (std::filesystem::exists(cc)) compilers.push_back(cc);
    ASSERT_FALSE(compilers.empty());
    for (Precision precision : {D, S}) {
        const std::string file = writeFast(GetParam(), precision);
        for (const std::string& cc : compilers) {
            // The vector code in every mode, with and without AVX; the
            // portable code in the oldest modes.
            for (const char* mode :
                 {"-xc -std=c99", "-xc++ -std=c++98", "-xc++ -std=c++11", "-xc++ -std=c++14", "-xc++ -std=c++17",
                  "-xc++ -std=c++20", "-xc -std=c99 -mavx2", "-xc++ -std=c++98 -mavx2", "-xc -std=c99 -DKV_PORTABLE",
                  "-xc++ -std=c++98 -DKV_PORTABLE"}) {
                const ProcessResult r =
                    runProcess({"/bin/sh", "-c",
                                cc + " " + mode + " -pedantic -Wall -Wextra -Wdouble-promotion -fsyntax-only " + file},
                               "", {"LC_ALL=C"});
                EXPECT_EQ(r.status, 0) << cc << " " << mode << "\n" << r.err;
                EXPECT_EQ(complaints(r.err), std::vector<std::string>{}) << cc << " " << mode;
            }
        }
    }
}

// A single butterfly (4), the mixes, the roots loop, a prime leaf done as a
// convolution with real input (105945) and with the largest prime (249982),
// two primes done as convolutions (20806), blocking (250000).
INSTANTIATE_TEST_SUITE_P(Lengths, FastHygiene, testing::Values(4, 30030, 1147, 105945, 249982, 20806, 250000),
                         [](const testing::TestParamInfo<int32_t>& info) { return std::to_string(info.param); });

// Every length: the plan multiplies out to N, only the leaf may exceed the
// stack scratch limit, and no integer the generated code forms reaches 2^31.
TEST(FastPlan, EveryLengthIsCoveredAndIndexesBelow2To31) {
    const int32_t kMax = 250000;
    const PrimeSieve sieve(kMax);
    for (int32_t n = 4; n <= kMax; ++n) {
        if (sieve.isPrime(n)) continue;  // primes are refused
        const std::vector<int32_t> primes = sieve.factors(n);
        const FastPlan plan = makeFastPlan(primes);
        ASSERT_EQ(lengthAfter(plan, int(plan.radix.size())), n) << n;
        for (size_t s = 1; s < plan.radix.size(); ++s) ASSERT_LE(plan.radix[s], kScratchRadixLimit) << n;
        ASSERT_LT(largestFileIntermediate(n), int64_t(1) << 31) << n;
    }
}

}  // namespace
