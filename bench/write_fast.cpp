// Writes the fast-style FFT<N>.cpp of each length into a directory, for
// bench/run to compile: write_fast DIR double|single N...
#include <cstdio>
#include <cstdlib>
#include <string>

#include "codegen/fast/fast_file.h"
#include "plan/fast_plan.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s DIR double|single N...\n", argv[0]);
        return 2;
    }
    const Precision precision = std::string(argv[2]) == "single" ? Precision::Single : Precision::Double;
    for (int i = 3; i < argc; ++i) {
        const FastPlan plan = makeFastPlan(primeFactorsOf(std::atoi(argv[i])));
        const std::string name = std::string(argv[1]) + "/FFT" + std::to_string(plan.length) + ".cpp";
        const auto w = SourceWriter::open(name.c_str(), "w");
        if (!w) {
            std::perror(name.c_str());
            return 1;
        }
        writeFastFile(*w, plan, precision);
        if (w->close() != 0) return 1;
    }
    return 0;
}
