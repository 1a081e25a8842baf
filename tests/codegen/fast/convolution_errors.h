// What the two convolution tests share: running a built convolution program
// on a list of primes, each with the work bytes the generator gives it, and
// holding every error it prints ("p kind error" per line: complex, real and
// pass for each prime) to a bound; where roots_bound is given, the program
// also prints "p roots e", its roots' largest error in units of epsilon.
// "p length n", the convolution length the C chose, must be the one the
// generator sized the work for in that precision.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "codegen/fast/convolution.h"
#include "process_runner.h"

inline void expectConvolutionErrorsWithin(const std::string& exe, const std::vector<int32_t>& primes,
                                          Precision precision, double bound, const std::string& label,
                                          double roots_bound = 0) {
    std::vector<std::string> run = {exe};
    for (int32_t p : primes) run.push_back(std::to_string(p) + ":" + std::to_string(convolutionWorkBytes(p, precision)));
    const ProcessResult result = runProcess(run);
    ASSERT_EQ(result.status, 0) << result.err;

    std::map<std::string, double> errors;
    std::istringstream lines(result.out);
    std::string p, kind;
    double error;
    while (lines >> p >> kind >> error) errors[p + " " + kind] = error;
    EXPECT_EQ(errors.size(), (roots_bound > 0 ? 5 : 4) * primes.size()) << result.out;
    for (int32_t q : primes)
        EXPECT_EQ(errors[std::to_string(q) + " length"], double(convolutionLength(q, precision))) << label << " " << q;
    for (const auto& [what, e] : errors) {
        if (what.find(" length") != std::string::npos) continue;
        EXPECT_LE(e, what.find(" roots") != std::string::npos ? roots_bound : bound) << label << " " << what;
    }
}
