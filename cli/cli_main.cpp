// kalvorin: the generate command of the window program, for a terminal.
#include <cerrno>
#include <cstdint>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli_options.h"
#include "cli/platform_terminal.h"
#include "cli/program_name.h"
#include "command/generate_command.h"
#include "command/messages.h"
#include "cli/terminal_dialogs.h"

namespace {

// The generated index arithmetic is done in long. Where long has 32 bits
// (Windows) a twiddle index above 2147483647 overflows and the transforms
// come out wrong, while the file compiles cleanly; only we can tell.
void warnIfLongIsTooNarrow(const GenerateResult& result) {
    if (result.largestTwiddleIndex <= INT32_MAX) return;
    std::fprintf(stderr,
                 KALVORIN_CLI_NAME ": warning: FFT%d.cpp computes twiddle indices up to %lld in long, "
                 "which overflows where long has 32 bits (Windows); use it only where long has 64 bits\n",
                 int(result.length), static_cast<long long>(result.largestTwiddleIndex));
}

bool runOne(const std::string& length, FileFormat format, const TraceSink& trace, TerminalDialogs& ui) {
    const GenerateResult result = onGenerate(length, ui, format, trace);
    // The fast style keeps every index below 2^31 and needs no warning.
    if (result.written() && format.style == OutputStyle::Classic) warnIfLongIsTooNarrow(result);
    return result.written();
}

// Reads lengths one per line until end of input. A line longer than the
// length box holds is refused rather than cut, so no other length is made.
bool runFromInput(FileFormat format, const TraceSink& trace, TerminalDialogs& ui) {
    const bool interactive = standardInputIsTerminal();
    bool allOk = true;
    std::string line;
    for (;;) {
        if (interactive) ui.prompt(msg::kLengthPrompt);
        line.clear();
        int c;
        while ((c = std::fgetc(stdin)) != EOF && c != '\n') line += char(c);
        if (c == EOF && line.empty()) break;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > size_t(kLengthFieldSize - 1)) {
            ui.showError(("length '" + line + "' is longer than 19 bytes").c_str());
            allOk = false;
        } else {
            allOk = runOne(line, format, trace, ui) && allOk;
        }
        if (c == EOF) break;
    }
    if (interactive) std::fputc('\n', stderr);
    return allOk;
}

int run(int argc, char** argv) {
    CliOptions options;
    const std::string error = parseCliOptions(argc, argv, options);
    if (!error.empty()) {
        std::fprintf(stderr, KALVORIN_CLI_NAME ": %s\nTry '" KALVORIN_CLI_NAME " --help' for more information.\n",
                     error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(kUsageText, stdout);
        return 0;
    }
    if (options.version) {
        std::puts("kalvorin 1.0.0");
        return 0;
    }
    if (!options.directory.empty() && !changeDirectory(options.directory.c_str())) {
        std::fprintf(stderr, KALVORIN_CLI_NAME ": cannot work in '%s': %s\n", options.directory.c_str(),
                     std::strerror(errno));
        return 1;
    }
    TerminalDialogs ui(options.yes);
    const FileFormat format{options.style, options.precision, options.prefix, options.header};
    const TraceSink trace = options.trace ? standardOutputTrace() : TraceSink();
    bool allOk = true;
    if (options.lengths.empty())
        allOk = runFromInput(format, trace, ui);
    else
        for (const auto& length : options.lengths) allOk = runOne(length, format, trace, ui) && allOk;
    return allOk ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    reportFileSizeLimitAsWriteError();
    const int status = run(argc, argv);
    // The factors, the trace and the help are output as much as the file is:
    // if they were lost (a full disk under a redirection, say), the run did
    // not succeed, whatever became of the file.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fputs(KALVORIN_CLI_NAME ": write error on standard output\n", stderr);
        return status == 0 ? 1 : status;
    }
    return status;
}
