// Binds the generate command's dialogs to a terminal: factors on standard
// output, messages and questions on standard error, answers from the
// terminal.
#pragma once

#include <cstdio>

#include "cli/terminal_text.h"
#include "command/user_dialogs.h"

class TerminalDialogs : public UserDialogs {
public:
    // assumeYes answers every question Yes without asking.
    explicit TerminalDialogs(bool assumeYes);
    ~TerminalDialogs() override;

    void showMessage(const char* text, const char* caption) override;
    bool askYesNo(const char* text, const char* caption) override;
    void showFactors(const char* text) override;

    // Shows a text that is already in the terminal's encoding as an error.
    void showError(const char* text);
    // Shows a code page 932 text on standard error without a line end.
    void prompt(const char* text);

private:
    std::FILE* answerStream();

    TerminalText text_;
    bool assumeYes_;
    bool hinted_ = false;
    std::FILE* tty_ = nullptr;
    bool ttyTried_ = false;
};
