// Shows the system's code page 932 texts in the terminal's own encoding.
#pragma once

#include <string>

class TerminalText {
public:
    // On POSIX the encoding is taken from the current locale (call
    // setlocale first); a C or POSIX locale, which names plain ASCII, gets
    // UTF-8. On Windows the texts go out as they are, code page 932 bytes,
    // as an ANSI console program's do: a Japanese console shows them, and a
    // file or pipe gets the same bytes.
    TerminalText();
    ~TerminalText();
    TerminalText(const TerminalText&) = delete;
    TerminalText& operator=(const TerminalText&) = delete;

    // A byte that cannot be converted is shown as '?', never dropped silently.
    std::string fromCp932(const std::string& text) const;
    const std::string& encoding() const { return encoding_; }

private:
    std::string encoding_;
    void* cd_ = nullptr;  // iconv_t, on POSIX
};
