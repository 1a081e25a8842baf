// kalvorin: the generate command of the window program, for a terminal.
#include <unistd.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/cli_options.h"
#include "app/generate_command.h"
#include "app/messages.h"
#include "app/terminal_dialogs.h"
#include "plan/stage_wraps.h"

namespace {

bool runOne(const std::string& length, TerminalDialogs& ui) {
    ui.beginCommand();
    onGenerate(length, ui);
    return ui.ok();
}

// Reads lengths one per line until end of input. A line longer than the
// length box holds is refused rather than cut, so no other length is made.
bool runFromInput(TerminalDialogs& ui) {
    const bool interactive = isatty(STDIN_FILENO);
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
            ui.beginCommand();
            ui.showError(("length '" + line + "' is longer than 19 bytes").c_str());
            allOk = false;
        } else {
            allOk = runOne(line, ui) && allOk;
        }
        if (c == EOF) break;
    }
    if (interactive) std::fputc('\n', stderr);
    return allOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    CliOptions options;
    const std::string error = parseCliOptions(argc, argv, options);
    if (!error.empty()) {
        std::fprintf(stderr, "kalvorin: %s\nTry 'kalvorin --help' for more information.\n", error.c_str());
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
    if (!options.directory.empty() && chdir(options.directory.c_str()) != 0) {
        std::fprintf(stderr, "kalvorin: cannot work in '%s': %s\n", options.directory.c_str(), std::strerror(errno));
        return 1;
    }
    setTraceSink(options.trace ? stdoutTraceSink() : TraceSink());

    TerminalDialogs ui(options.yes);
    bool allOk = true;
    if (options.lengths.empty())
        allOk = runFromInput(ui);
    else
        for (const auto& length : options.lengths) allOk = runOne(length, ui) && allOk;
    return allOk ? 0 : 1;
}
