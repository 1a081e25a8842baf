// The command line of the kalvorin program.
#pragma once

#include <string>
#include <vector>

struct CliOptions {
    bool yes = false;
    bool trace = false;
    bool help = false;
    bool version = false;
    std::string directory;             // -C DIR; empty: the current directory
    std::vector<std::string> lengths;  // none: read them from standard input
};

// Returns an empty string on success, otherwise the usage error to show.
std::string parseCliOptions(int argc, const char* const* argv, CliOptions& options);

extern const char* const kUsageText;
