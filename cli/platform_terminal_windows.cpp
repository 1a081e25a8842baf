// The only file of the command-line program that includes <windows.h>: the
// CRT's _isatty holds for every character device, the null device too, so
// only GetConsoleMode tells a console from `< NUL`.
#include "cli/platform_terminal.h"

#include <direct.h>
#include <io.h>
#include <windows.h>

bool standardInputIsTerminal() {
    DWORD mode;
    const HANDLE in = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdin)));
    return in != INVALID_HANDLE_VALUE && GetConsoleMode(in, &mode);
}

// CONIN$ opens only in a process with a console: with none there is
// nobody to ask.
std::FILE* openAnswerStream() { return standardInputIsTerminal() ? stdin : std::fopen("CONIN$", "r"); }

bool changeDirectory(const char* dir) { return _chdir(dir) == 0; }

void reportFileSizeLimitAsWriteError() {}
