// Generated files compile as C++ and as C99 with every common warning on,
// and draw exactly the warnings known and listed in the README.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "command/generate_command.h"
#include "process_runner.h"
#include "test_support.h"

namespace {

// "warning: ..." with the file and position cut off, one per warning.
std::vector<std::string> warnings(const std::string& diagnostics) {
    std::vector<std::string> found;
    std::istringstream lines(diagnostics);
    for (std::string line; std::getline(lines, line);) {
        const size_t at = line.find(": warning: ");
        if (at != std::string::npos) found.push_back(line.substr(at + 2));
    }
    return found;
}

class GeneratedHygiene : public testing::TestWithParam<int32_t> {};

TEST_P(GeneratedHygiene, CompilesAsCppAndC) {
    for (const char* compiler : {"/usr/bin/g++", "/usr/bin/gcc"})
        if (!std::filesystem::exists(compiler)) GTEST_SKIP() << compiler << " is not installed";
    const int32_t n = GetParam();
    ScratchDir dir;
    RecordingDialogs ui;
    const GenerateResult result = onGenerate(std::to_string(n), ui);
    const std::string file = "FFT" + std::to_string(n) + ".cpp";
    ASSERT_TRUE(pathExists(file));

    // Only the plans of two stages leave the second work array unused, once
    // in each of the three functions.
    const bool twoStages = result.factors.size() == 2;
    const std::vector<std::string> expected(twoStages ? 3 : 0,
                                            "warning: unused variable 'buffer2' [-Wunused-variable]");
    const std::vector<std::string> env = {"LC_ALL=C"};  // plain quotes in the diagnostics

    const ProcessResult cpp =
        runProcess({"/usr/bin/g++", "-std=c++17", "-Wall", "-Wextra", "-O0", "-c", file, "-o", "fft.o"}, "", env);
    EXPECT_EQ(cpp.status, 0) << cpp.err;
    EXPECT_EQ(warnings(cpp.err), expected) << cpp.err;

    const ProcessResult c =
        runProcess({"/usr/bin/gcc", "-x", "c", "-std=c99", "-Wall", "-Wextra", "-fsyntax-only", file}, "", env);
    EXPECT_EQ(c.status, 0) << c.err;
    EXPECT_EQ(warnings(c.err), expected) << c.err;
}

// Two-stage plans (4, 6, 249982), mixed radices, the 17-stage plans, the
// largest radix (124991, in 249982) and the limit.
INSTANTIATE_TEST_SUITE_P(Lengths, GeneratedHygiene,
                         testing::Values(4, 6, 12, 60, 1024, 30030, 131072, 196608, 249982, 250000),
                         [](const testing::TestParamInfo<int32_t>& info) { return std::to_string(info.param); });

}  // namespace
