// Times the generate command end to end (plan, preamble and the three
// functions written into a scratch directory, every question answered Yes)
// and the factorisation on its own, for short, long and worst-case lengths.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "command/generate_command.h"
#include "plan/radix_plan.h"
#include "tests/trial_division.h"

namespace {

struct YesDialogs : UserDialogs {
    int messages = 0;
    void showMessage(const char*, const char*) override { ++messages; }
    bool askYesNo(const char*, const char*) override { return true; }
    void showFactors(const char*) override {}
};

// 12: the smallest plan worth a file; 1024 and 131072: powers of two (no
// stage wraps); 196608: 17 stages; 249982: 2 x 124991, the largest radix;
// 250000: the longest length.
const int64_t kLengths[] = {12, 1024, 131072, 196608, 249982, 250000};

void lengths(benchmark::internal::Benchmark* b) {
    for (int64_t n : kLengths) b->Arg(n);
}

void BM_Generate(benchmark::State& state) {
    const std::string typed = std::to_string(state.range(0));
    YesDialogs ui;
    for (auto _ : state) onGenerate(typed, ui);
    // A refused length would time the refusal, not the generation.
    const std::string file = "FFT" + typed + ".cpp";
    if (ui.messages != 0 || !std::filesystem::exists(file))
        state.SkipWithError("the file was not written");
    else
        state.SetLabel(std::to_string(std::filesystem::file_size(file)) + " bytes");
}
BENCHMARK(BM_Generate)->Apply(lengths)->Unit(benchmark::kMicrosecond);

// factorise, and the trial division it replaced, for comparison.
void BM_Factorisation(benchmark::State& state, int (*factor)(RadixPlan&, int32_t)) {
    const int32_t n = int32_t(state.range(0));
    RadixPlan plan;
    for (auto _ : state) {
        benchmark::DoNotOptimize(factor(plan, n));
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BM_Factorisation, factorise, factorise)->Apply(lengths)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Factorisation, trial_division, trialDivisionFactorise)
    ->Apply(lengths)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    char dir[] = "/tmp/kalvorin-bench-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) {
        std::perror("scratch directory");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::current_path("/tmp");
    std::filesystem::remove_all(dir, ec);
    return 0;
}
