// Runs a program as a user would from a script: in its own session, so it
// has no controlling terminal, with the given standard input.
#pragma once

#include <string>
#include <vector>

struct ProcessResult {
    int status = -1;  // exit status, or 128 + signal
    std::string out, err;
};

ProcessResult runProcess(const std::vector<std::string>& argv, const std::string& input = "",
                         const std::vector<std::string>& env = {});

// Runs a program on a new pseudo-terminal, typing `typed` into it; returns
// what the terminal showed (standard output and error together).
ProcessResult runOnTerminal(const std::vector<std::string>& argv, const std::string& typed);
