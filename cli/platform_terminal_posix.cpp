#include "cli/platform_terminal.h"

#include <unistd.h>

#include <csignal>

bool standardInputIsTerminal() { return isatty(STDIN_FILENO); }

std::FILE* openAnswerStream() { return standardInputIsTerminal() ? stdin : std::fopen("/dev/tty", "r"); }

bool changeDirectory(const char* dir) { return chdir(dir) == 0; }

void reportFileSizeLimitAsWriteError() { std::signal(SIGXFSZ, SIG_IGN); }
