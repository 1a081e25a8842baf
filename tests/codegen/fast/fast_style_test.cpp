// The fast style through its public interface: generated files, compiled
// with the system compilers, transform correctly in both precisions (all
// four transforms, Real_IFFT also back after Real_FFT), leave their input
// alone, work in place and on a small stack, fail loudly without heap, index
// safely with a 32-bit long and compile without a warning in every language
// mode a user may pick, as the classic files of clean lengths do.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sstream>

#include "codegen/fast/convolution.h"
#include "codegen/fast/fast_file.h"
#include "codegen/fast/emitter_limits.h"
#include "codegen/fast/index_bound.h"
#include "command/generate_command.h"
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
// Portable the plain C loops every other compiler takes. NoWork is NoHeap
// for a length that has no way without its work memory: every call gives NaN.
enum class Build { Plain, NoHeap, NoWork, Long32, Native, Portable, Clang };

struct Case {
    int32_t n;
    Precision precision;
    Build build;
};

std::ostream& operator<<(std::ostream& os, const Case& c) {
    return os << c.n << (c.precision == Precision::Single ? " single" : " double")
              << (c.build == Build::NoHeap   ? " without heap"
                  : c.build == Build::NoWork ? " without heap: NaN"
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
    if (c.build == Build::NoWork) flags += " -DNO_HEAP -DNAN_WITHOUT_WORK '-DFFT_MALLOC(bytes)=0'";
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
// on four and eight lanes run as well, with leaves left over for the scalar
// leaf (30030: 2310 leaves; IFFT, which takes leaf 0 apart, of 1144) and
// blocked, where they gather their inputs (131072, 240000, whose last pass,
// of radix 8, follows blocks of 30000); so do passes
// run block by block (131072, and 46080 = 8 8 8 6 5 3 unblocked). Prime leaves done as a convolution:
// 1010 and the odd 303 just above the threshold (101), 2018 and 60540
// (1009), 105945 (1009, reading reals), 65542 (32771), 99998 (49999), 131074
// (65537, whose convolution is 2p - 2 long) and 249982 (124991, the
// largest); a second prime of 100 or more as a pass: 249001 = 499 499 (one
// work for both) and 20806 = 103 101 2 (two). Without heap they fall back to
// the direct leaf and pass: the loop over the roots (1010, 303, 20806) or
// the sweep of a prime above the scratch limit (2018). Real_IFFT runs in
// every case: its even and odd forms, the latter also on 9, the smallest
// odd length, and portably on 15015. Odd lengths compute half the
// butterflies of each pass: on four and eight lanes (59049 = 3^10, 16807 =
// 7^5; on eight the short blocks of 59049 whole, as the one pass of 35 =
// 7 5 on four), blocked (78125 = 5^7, 212625 = 7 5^3 3^5), after a leaf on the
// loop over the roots (17017 = 17 13 11 7, also portably), with clang
// (1001), short (243, 125), after a prime leaf done as a convolution (1515
// = 101 5 3), on the loop over the roots as a pass (1311 = 23 19 3) and
// with a 32-bit long (78125);
// their leaves of real input on real arithmetic, of radix 3, 5, 7, 11
// (1331) and 13 and on the loop over the roots (17017, 1311). Entries kept
// split into real and imaginary parts between the passes, where the lanes
// divide the leaf radix (1024, 46080, 320 above): a leaf of radix 4 on four
// lanes, and on eight, where the leaves stay on pairs, with a leaf left over
// for the scalar leaf (36 = 4 3 3; in IFFT, the one that swaps the parts);
// a pass of radix 7 before a last pass of 6 (336 = 8 7 6, and 168 = 8 7 3
// in Real_FFT), and the last pass right
// after the leaf (56 = 8 7). Real_IFFT of 16, whose half-length transform is
// one leaf, is where gcc -O2 dropped the stores to the work array when the
// leaf was handed a pointer to its first real part.
INSTANTIATE_TEST_SUITE_P(
    Lengths, FastTransforms,
    testing::Values(Case{4, D, P}, Case{16, D, P}, Case{6, D, P}, Case{12, D, P}, Case{18, D, P}, Case{98, D, P}, Case{60, D, P},
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
                    Case{240000, S, Build::Native}, Case{15015, D, Build::Native}, Case{59049, D, Build::Native},
                    Case{16807, S, Build::Native}, Case{78125, S, P}, Case{212625, D, P}, Case{17017, D, P},
                    Case{17017, S, Build::Portable}, Case{1001, S, Build::Clang}, Case{243, D, P}, Case{125, S, P},
                    Case{1515, D, P}, Case{1311, S, P}, Case{1331, S, P}, Case{78125, D, Build::Long32},
                    Case{59049, S, Build::Native}, Case{35, D, Build::Native}, Case{46080, D, Build::Native},
                    Case{46080, S, P}, Case{36, S, P}, Case{36, D, Build::Native}, Case{36, S, Build::Native},
                    Case{336, S, P}, Case{336, D, Build::Native}, Case{336, S, Build::Native},
                    Case{56, D, Build::Native}, Case{56, S, Build::Native}));

// The lengths of the fast style alone. Primes as one pass of their own
// radix: 2 (Real_FFT without a half-length transform), 3 and 5 (straight-
// line butterflies), 97 (the loop over the roots), 101, 65537 and 249989
// (a convolution), 1048583 (a convolution of 9 x 2^18), 4194301 (whose
// choice of convolution length passes a 32-bit long in its costs) and the
// largest, 16777213 (of 2^25), and 2^24, the longest length. Above the
// classic limit,
// 250001 = 53 53 89; two primes above the scratch limit, whose second runs
// only as a convolution, 256027 = 509 503 and 512054 = 509 503 2 (a
// half-length transform with both); three primes of 100 or more, 1113121 =
// 107 103 101, with the direct passes as fallback. With a 32-bit long: the
// longest length and 4194301 in single precision, 1048583 in double.
INSTANTIATE_TEST_SUITE_P(
    FastOnlyLengths, FastTransforms,
    testing::Values(Case{2, D, P}, Case{2, S, P}, Case{3, D, P}, Case{3, S, P}, Case{5, D, P}, Case{5, S, P},
                    Case{97, D, P}, Case{97, S, P}, Case{101, D, P}, Case{101, S, P}, Case{65537, D, P},
                    Case{65537, S, P}, Case{249989, D, P}, Case{249989, S, P}, Case{1048583, D, Build::Long32},
                    Case{1048583, S, P}, Case{4194301, S, Build::Long32}, Case{16777216, D, P},
                    Case{16777216, S, Build::Long32},
                    Case{16777213, S, P}, Case{250001, D, P}, Case{250001, S, P}, Case{256027, D, P},
                    Case{256027, D, Build::NoWork}, Case{512054, S, P}, Case{512054, S, Build::NoWork},
                    Case{1113121, D, P}, Case{1113121, S, Build::NoHeap}));

// The rms errors of Complex_FFT, Real_FFT and Real_IFFT relative to the rms
// of their outputs, the figure FFT benchmarks compare, as users compile
// (-O2, the vector loops): about FFTW's (2.3e-16 at 4096 in double).
// Twiddles formed as powers of one another by chained products gave twice
// that in the complex passes (4.5e-16, and 4.6e-16 at 30030, 2.2e-7 at
// 4096 in single) and 1.2 to 1.5 times the complex transform's error in
// the real passes of odd lengths (3.7e-16 and 3.8e-16 at 2401, 4.1e-16 and
// 4.0e-16 at 15015, 1.8e-7 at 2401 in single), all well within the bound
// of the largest error that the cases above check. With FMA, IFFT59049
// divides by N in one rounding (3.97e-16, Real_IFFT 3.47e-16), where the
// literal of 1/N alone, 0.57 of a last bit off, gave 4.21e-16 (3.64e-16).
TEST(FastAccuracy, RmsErrorsStayNearFftws) {
    struct Bound {
        int32_t n;
        Precision precision;
        const char* rms;
        const char* flags;
    };
    const Bound kBounds[] = {{4096, D, "3.2e-16", ""},  {30030, D, "3.8e-16", ""}, {4096, S, "1.7e-7", ""},
                             {2401, D, "3.0e-16", ""},  {15015, D, "3.5e-16", ""}, {2401, S, "1.6e-7", ""},
                             {59049, D, "4.1e-16", " -mfma"}};
    for (const Bound& b : kBounds) {
        SCOPED_TRACE(testing::Message() << b.n << (b.precision == S ? " single" : " double") << b.flags);
#if defined(__x86_64__) || defined(__i386__)
        if (*b.flags && !__builtin_cpu_supports("fma")) continue;
#endif
        ScratchDir dir;
        const std::string file = writeFast(b.n, b.precision);
        const ProcessResult build = runProcess(
            {"/bin/sh", "-c",
             std::string("c++ -std=c++17 -pthread -O2") + b.flags + " -DRMS_BOUND=" + b.rms + " -DLEN=" +
                 std::to_string(b.n) + " '-DGENERATED=\"" + file + "\"' " KALVORIN_TEST_SOURCE
                 "/fast_harness.cpp -o harness"});
        ASSERT_EQ(build.status, 0) << build.err;
        const ProcessResult run = runProcess({"./harness"});
        EXPECT_EQ(run.status, 0) << run.out << run.err;
    }
}

// "warning: ..." and "error: ..." lines of a compiler's diagnostics.
std::vector<std::string> complaints(const std::string& diagnostics) {
    std::vector<std::string> found;
    std::istringstream lines(diagnostics);
    for (std::string line; std::getline(lines, line);)
        if (line.find("warning: ") != std::string::npos || line.find("error: ") != std::string::npos)
            found.push_back(line);
    return found;
}

// A file is held to gcc and clang in every language mode; the rows that ask
// also to the 32-bit x86 compilers, where x87 arithmetic gives floating
// constants excess precision in strict C (the vector code there needs SSE2).
struct Toolchain {
    const char* c;
    const char* cxx;
};
const Toolchain kNative[] = {{"/usr/bin/gcc", "/usr/bin/g++"}, {"/usr/bin/clang", "/usr/bin/clang++"}};
const Toolchain kI686[] = {{"/usr/bin/i686-w64-mingw32-gcc", "/usr/bin/i686-w64-mingw32-g++"},
                           {"/usr/bin/i686-linux-gnu-gcc", "/usr/bin/i686-linux-gnu-g++"}};

struct Mode {
    bool cxx;
    const char* flags;  // -fsyntax-only unless they compile (-c)
};
// One mode of each language compiles at -O2, for the warnings of the
// optimisers.
const Mode kEveryStyle[] = {{false, "-std=c99"},    {false, "-std=c11 -O2 -c -o /dev/null"},
                            {true, "-std=c++98"},   {true, "-std=c++11"},
                            {true, "-std=c++17"},   {true, "-std=c++20 -O2 -c -o /dev/null"}};
// The fast style's vector code with AVX, its plain loops, and no heap: the
// natural empty FFT_FREE and the recipe of the file's comment.
const Mode kFastOnly[] = {{false, "-std=c99 -mavx2"},
                          {true, "-std=c++98 -DKV_PORTABLE"},
                          {false, "-std=c99 '-DFFT_MALLOC(bytes)=0' '-DFFT_FREE(ptr)='"},
                          {true, "-std=c++11 '-DFFT_MALLOC(bytes)=0' '-DFFT_FREE(ptr)=((void)(ptr))'"}};
const Mode kI686Modes[] = {{false, "-std=c99"}, {false, "-std=c11 -msse2"}, {true, "-std=c++11 -msse2"}};

enum class Style { Classic, Fast };

struct HygieneCase {
    Style style;
    int32_t n;
    bool i686;  // also the 32-bit x86 compilers
};

class Hygiene : public testing::TestWithParam<HygieneCase> {};

TEST_P(Hygiene, CompilesWithoutAWarningAsC99C11AndCpp98To20) {
    const HygieneCase c = GetParam();
    ScratchDir dir;
    // Each file with the compilers and modes of its row.
    auto check = [](const std::string& file, const Toolchain& tools, const Mode& mode, const char* extra) {
        const std::string compiler = mode.cxx ? tools.cxx : tools.c;
        if (!std::filesystem::exists(compiler)) return;
        const std::string flags = std::string(mode.cxx ? "-xc++ " : "-xc ") + mode.flags;
        const ProcessResult r = runProcess(
            {"/bin/sh", "-c",
             compiler + " " + flags + " -pedantic -Wall -Wextra -Werror " + extra +
                 (std::strstr(mode.flags, "-c ") ? " " : " -fsyntax-only ") + file},
            "", {"LC_ALL=C"});
        EXPECT_EQ(r.status, 0) << compiler << " " << flags << "\n" << r.err;
        EXPECT_EQ(complaints(r.err), std::vector<std::string>{}) << compiler << " " << flags;
    };
    ASSERT_TRUE(std::filesystem::exists(kNative[0].c));
    if (c.style == Style::Classic) {
        RecordingDialogs ui;
        ASSERT_TRUE(onGenerate(std::to_string(c.n), ui).written());
        for (const Toolchain& tools : kNative)
            for (const Mode& mode : kEveryStyle) check("FFT" + std::to_string(c.n) + ".cpp", tools, mode, "");
        return;
    }
    for (Precision precision : {D, S}) {
        const std::string file = writeFast(c.n, precision);
        for (const Toolchain& tools : kNative) {
            for (const Mode& mode : kEveryStyle) check(file, tools, mode, "-Wdouble-promotion");
            for (const Mode& mode : kFastOnly) check(file, tools, mode, "-Wdouble-promotion");
        }
        if (c.i686)
            for (const Toolchain& tools : kI686)
                for (const Mode& mode : kI686Modes) check(file, tools, mode, "-Wdouble-promotion");
    }
}

// Classic: only lengths that compile cleanly; plans of two stages draw
// `unused variable 'buffer2'` (see the classic style's own hygiene test).
// Fast: a single butterfly (4, and 2 with a real leaf), the leaves of radix
// 4, 8 and 5 beside their vector leaves (12, 1024, 1000), the mixes, the
// roots loop, the real leaf and passes of an odd length (15015), a prime
// leaf done as a convolution with real input (105945)
// and with a large prime (249982), two primes done as convolutions (20806),
// three (1113121), a pass that runs only as one (256027), blocking (250000).
INSTANTIATE_TEST_SUITE_P(
    Lengths, Hygiene,
    testing::Values(HygieneCase{Style::Classic, 12, false}, HygieneCase{Style::Classic, 60, false},
                    HygieneCase{Style::Classic, 1024, false}, HygieneCase{Style::Fast, 4, false},
                    HygieneCase{Style::Fast, 12, true}, HygieneCase{Style::Fast, 1024, true},
                    HygieneCase{Style::Fast, 1000, true}, HygieneCase{Style::Fast, 30030, false},
                    HygieneCase{Style::Fast, 1147, true}, HygieneCase{Style::Fast, 105945, false},
                    HygieneCase{Style::Fast, 249982, false}, HygieneCase{Style::Fast, 20806, true},
                    HygieneCase{Style::Fast, 250000, false}, HygieneCase{Style::Fast, 2, false},
                    HygieneCase{Style::Fast, 1113121, false}, HygieneCase{Style::Fast, 256027, true},
                    HygieneCase{Style::Fast, 15015, true}),
    [](const testing::TestParamInfo<HygieneCase>& info) {
        return std::string(info.param.style == Style::Classic ? "classic" : "fast") + std::to_string(info.param.n);
    });

// After the blocks, the fewest passes sweep the whole array, and of those
// the ones that leave the longest block.
TEST(FastPlan, TheFewestPassesSweepAfterTheBlocks) {
    struct Expected {
        int32_t n;
        std::vector<int32_t> radix;
        int blockedStages;
        int32_t blockLength;
    };
    const Expected cases[] = {
        {240000, {8, 6, 5, 5, 5, 5, 8}, 6, 30000},            // one sweep of 8, not two of 5
        {131072, {8, 8, 8, 8, 8, 4}, 5, 32768},               // a 4 rather than an 8: the longer block
        {212625, {7, 5, 5, 5, 3, 3, 3, 3, 3}, 7, 23625},      // two sweeps at least: 3 3, not 5 3
        {65542, {32771, 2}, 0, 0},                            // a leaf longer than any block
        {46080, {8, 8, 8, 6, 5, 3}, 0, 0},                    // too short for blocks
    };
    for (const Expected& e : cases) {
        const FastPlan plan = makeFastPlan(primeFactorsOf(e.n));
        EXPECT_EQ(plan.radix, e.radix) << e.n;
        EXPECT_EQ(plan.blockedStages, e.blockedStages) << e.n;
        EXPECT_EQ(plan.blockLength, e.blockLength) << e.n;
    }
}

// The plan multiplies out to N, a pass above the stack scratch limit is a
// prime that runs as a convolution, and no integer the generated code forms
// reaches 2^31, in either precision (their convolution lengths differ):
// for every length up to 2^18, every 61st above it and the last 4096 up to
// the maximum. The whole range, checked once, is no different: its largest
// integer is the work byte count of 16777213 in double, 1610613200. Past
// the maximum the model holds up to 21717736 in both (also checked once):
// the prime 21717737 needs a convolution of 9 x 5^7 x 2^6 in double, whose
// work passes 2^31 bytes (without the radix-5 passes 21233689 did, with
// 3 x 2^24; in single its bytes are half). The limit is the power of two
// below.
TEST(FastPlan, EveryLengthIsCoveredAndIndexesBelow2To31) {
    const PrimeSieve sieve(kFastMaxLength);
    auto check = [&](int32_t n) {
        const FastPlan plan = makeFastPlan(sieve.factors(n));
        EXPECT_EQ(lengthAfter(plan, int(plan.radix.size())), n) << n;
        for (size_t s = 1; s < plan.radix.size(); ++s)
            EXPECT_TRUE(plan.radix[s] <= kScratchRadixLimit || usesConvolution(plan.radix[s])) << n;
        for (Precision precision : {Precision::Double, Precision::Single})
            EXPECT_LT(largestFileIntermediate(n, precision), int64_t(1) << 31) << n;
        return !testing::Test::HasFailure();
    };
    for (int32_t n = 2; n <= 1 << 18; ++n) ASSERT_TRUE(check(n));
    for (int32_t n = (1 << 18) + 1; n <= kFastMaxLength - 4096; n += 61) ASSERT_TRUE(check(n));
    for (int32_t n = kFastMaxLength - 4095; n <= kFastMaxLength; ++n) ASSERT_TRUE(check(n));
    EXPECT_EQ(largestFileIntermediate(16777213, Precision::Double), 1610613200);

    EXPECT_GE(largestFileIntermediate(21717737, Precision::Double), int64_t(1) << 31);
}

}  // namespace
