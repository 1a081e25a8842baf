// The command line of the kalvorin program.
#pragma once

#include <string>
#include <vector>

#include "command/file_format.h"

struct CliOptions {
    bool yes = false;
    bool trace = false;
    bool help = false;
    bool version = false;
    OutputStyle style = OutputStyle::Classic;
    FloatType precision = FloatType::Double;
    bool precisionGiven = false;
    std::string prefix;  // --prefix=NAME, a C identifier
    bool prefixGiven = false;
    bool header = false;  // --header: FFT<N>.h as well
    std::string directory;             // -C DIR; empty: the current directory
    std::vector<std::string> lengths;  // none: read them from standard input
};

// Returns an empty string on success, otherwise the usage error to show.
// GNU conventions: bundled short options (-yC DIR), --opt=value and
// --opt value, unambiguous abbreviations of long options, "--" ending the
// options. An argument that looks like a negative number ("-12") is a length.
std::string parseCliOptions(int argc, const char* const* argv, CliOptions& options);

extern const char* const kUsageText;
