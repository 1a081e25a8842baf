// What the terminal front end asks of the system about its terminal (the
// console on Windows) and working directory. One file for each platform.
#pragma once

#include <cstdio>

// True when standard input is a terminal that someone types at, rather
// than a file, a pipe or the null device.
bool standardInputIsTerminal();

// Where questions are answered: standard input when it is the terminal,
// otherwise the process's terminal opened for reading (/dev/tty, CONIN$),
// or null when there is none. A stream other than stdin is the caller's to
// close.
std::FILE* openAnswerStream();

// Past a file-size limit a write must fail and be reported like any other,
// rather than end the program before it has removed its temporary file.
// Windows has no such signal.
void reportFileSizeLimitAsWriteError();

// Makes dir the working directory; false with errno set when it cannot.
bool changeDirectory(const char* dir);
