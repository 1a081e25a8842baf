// libFuzzer entry for the generate command: every input is a typed length,
// run through onGenerate with a dialog that answers Yes, in a directory of
// its own. A broken property aborts with the input that broke it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "generate_check.h"
#include "plan/stage_wraps.h"

namespace {
char scratch[] = "/tmp/kalvorin-fuzz-XXXXXX";
}

// Corpus paths are read after this, so give them as absolute paths.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!mkdtemp(scratch) || chdir(scratch) != 0) {
        std::perror("kalvorin fuzzer: scratch directory");
        std::abort();
    }
    // Every check leaves the directory empty, so it can simply go.
    std::atexit([] { rmdir(scratch); });
    setTraceSink(nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64) return -1;  // longer texts teach nothing the box does not cut
    static GenerateChecker checker;
    const std::string error = checker.check(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!error.empty()) {
        std::fprintf(stderr, "kalvorin fuzzer: %s\n", error.c_str());
        std::abort();
    }
    return 0;
}
