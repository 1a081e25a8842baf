// Binds the generate command's dialogs to a terminal: factors on standard
// output, messages and questions on standard error, answers from the
// terminal. It also tells whether the command it served went through.
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

    // Starts a new command; ok() then says whether it has shown no message
    // and met no No since (every message is a refusal or a failure).
    void beginCommand() { ok_ = true; }
    bool ok() const { return ok_; }

private:
    std::FILE* answerStream();

    TerminalText text_;
    bool assumeYes_;
    bool ok_ = true;
    bool hinted_ = false;
    std::FILE* tty_ = nullptr;
    bool ttyTried_ = false;
};
