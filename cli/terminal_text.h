// Shows the system's code page 932 texts in the terminal's own encoding.
#pragma once

#include <string>

class TerminalText {
public:
    // The encoding is taken from the current locale (call setlocale first);
    // a C or POSIX locale, which names plain ASCII, gets UTF-8.
    TerminalText();
    ~TerminalText();
    TerminalText(const TerminalText&) = delete;
    TerminalText& operator=(const TerminalText&) = delete;

    // A byte that cannot be converted is shown as '?', never dropped silently.
    std::string fromCp932(const std::string& text) const;
    const std::string& encoding() const { return encoding_; }

private:
    std::string encoding_;
    void* cd_;  // iconv_t
};
