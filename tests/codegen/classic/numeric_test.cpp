// Compiles generated files with the system compiler and checks that all
// three transforms compute the discrete Fourier transform.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <map>
#include <sstream>

#include "command/generate_command.h"
#include "process_runner.h"
#include "test_support.h"

namespace {

std::map<std::string, double> runGenerated(int32_t n) {
    RecordingDialogs ui;
    onGenerate(std::to_string(n), ui);
    const std::string file = "FFT" + std::to_string(n) + ".cpp";
    EXPECT_TRUE(pathExists(file));
    const std::string exe = "./fft" + std::to_string(n);
    const ProcessResult build = runProcess({"/bin/sh", "-c",
                                            "c++ -std=c++17 -O1 -pthread -DLEN=" + std::to_string(n) +
                                                " '-DGENERATED=\"" + std::filesystem::absolute(file).string() + "\"' " KALVORIN_TEST_SOURCE
                                                "/numeric_harness.cpp -o " + exe});
    EXPECT_EQ(build.status, 0) << build.err;
    const ProcessResult run = runProcess({exe});
    EXPECT_EQ(run.status, 0) << run.err;
    std::map<std::string, double> errors;
    std::istringstream lines(run.out);
    std::string kind;
    double error;
    while (lines >> kind >> error) errors[kind] = error;
    return errors;
}

class Numeric : public testing::TestWithParam<int32_t> {};

TEST_P(Numeric, AllThreeTransformsMatchADirectDft) {
    ScratchDir dir;
    const auto errors = runGenerated(GetParam());
    ASSERT_EQ(errors.size(), 3u);
    for (const auto& [kind, error] : errors) EXPECT_LT(error, 1e-9) << kind;
}

// Powers of two, mixed radices, a radix above 1000, 2 x a prime, and the
// two 17-stage plans.
INSTANTIATE_TEST_SUITE_P(Lengths, Numeric,
                         testing::Values(4, 6, 12, 60, 194, 1024, 4096, 2018, 30030, 65536, 131072, 196608));

}  // namespace
