#include "cli/terminal_dialogs.h"

#include <cctype>
#include <string>

#include "cli/platform_terminal.h"
#include "cli/program_name.h"
#include "command/messages.h"

namespace {

std::string trimmed(const char* line) {
    std::string s = line;
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    size_t start = 0;
    while (start < s.size() && std::isspace(static_cast<unsigned char>(s[start]))) ++start;
    s.erase(0, start);
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

TerminalDialogs::TerminalDialogs(bool assumeYes) : assumeYes_(assumeYes) {}

TerminalDialogs::~TerminalDialogs() {
    if (tty_ && tty_ != stdin) std::fclose(tty_);
}

void TerminalDialogs::showMessage(const char* text, const char* caption) {
    if (*caption) std::fprintf(stderr, "%s\n", text_.fromCp932(caption).c_str());
    std::fprintf(stderr, "%s\n", text_.fromCp932(text).c_str());
}

void TerminalDialogs::showError(const char* text) {
    std::fprintf(stderr, KALVORIN_CLI_NAME ": %s\n", text);
}

void TerminalDialogs::prompt(const char* text) {
    std::fputs(text_.fromCp932(text).c_str(), stderr);
    std::fflush(stderr);
}

void TerminalDialogs::showFactors(const char* text) {
    std::printf("%s%s\n", text_.fromCp932(msg::kFactorsLabel).c_str(), text_.fromCp932(text).c_str());
    std::fflush(stdout);
}

// Questions are answered at the terminal, also while the lengths come
// through a pipe; with no terminal at all there is nobody to ask.
std::FILE* TerminalDialogs::answerStream() {
    if (!ttyTried_) {
        ttyTried_ = true;
        tty_ = openAnswerStream();
    }
    return tty_;
}

bool TerminalDialogs::askYesNo(const char* text, const char* caption) {
    if (assumeYes_) return true;
    std::FILE* in = answerStream();
    if (!in) {
        if (!hinted_)
            std::fputs(KALVORIN_CLI_NAME ": no terminal to ask; the answer is No (pass --yes to answer Yes)\n", stderr);
        hinted_ = true;
        return false;
    }
    const std::string yes = text_.fromCp932(msg::kYes), no = text_.fromCp932(msg::kNo);
    for (;;) {
        if (*caption) std::fprintf(stderr, "%s\n", text_.fromCp932(caption).c_str());
        std::fprintf(stderr, "%s [y/n] ", text_.fromCp932(text).c_str());
        std::fflush(stderr);
        char line[256];
        if (!std::fgets(line, sizeof line, in)) {
            std::fputc('\n', stderr);
            return false;  // end of input: No
        }
        const std::string answer = trimmed(line);
        if (answer == "y" || answer == "yes" || answer == yes) return true;
        if (answer == "n" || answer == "no" || answer == no) return false;
    }
}
