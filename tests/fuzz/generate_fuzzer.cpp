// libFuzzer entry for the generate command: every input is a typed length,
// run through onGenerate with a dialog that answers Yes, in a directory of
// its own. A broken property aborts with the input that broke it.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "generate_check.h"

namespace {
std::string scratch;

bool makeScratch(const std::string& base) {
    std::string tmpl = base + "/kalvorin-fuzz-XXXXXX";
    if (!mkdtemp(&tmpl[0])) return false;
    scratch = tmpl;
    return true;
}
}  // namespace

// Corpus paths are read after this, so give them as absolute paths.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // A RAM disk where there is one: every written file is synced before it
    // takes its name, which on a disk would make the disk the bottleneck.
    if (!(makeScratch("/dev/shm") || makeScratch("/tmp")) || chdir(scratch.c_str()) != 0) {
        std::perror("kalvorin fuzzer: scratch directory");
        std::abort();
    }
    // Every check leaves the directory empty, so it can simply go.
    std::atexit([] { rmdir(scratch.c_str()); });
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
