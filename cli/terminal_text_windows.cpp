#include "cli/terminal_text.h"

// The console of a Japanese Windows shows code page 932, the texts' own
// encoding, so nothing needs converting; redirected output keeps the bytes
// that the other programs of such a system expect.
TerminalText::TerminalText() : encoding_("CP932") {}

TerminalText::~TerminalText() = default;

std::string TerminalText::fromCp932(const std::string& text) const { return text; }
