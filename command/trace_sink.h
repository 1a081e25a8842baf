// Where the diagnostic trace of the classic transform emitter goes: each
// "h=%d  l=%d" line that its wrap tests write, in order, "\n" included. The
// caller of a command chooses; an empty sink drops the trace.
#pragma once

#include <functional>
#include <string>

// The same alias as the plan layer's, which front ends cannot see; a file
// that sees both fails to compile should the two ever differ.
using TraceSink = std::function<void(const std::string& line)>;

// Writes each line to standard output and flushes it at once, so that a
// redirected trace survives a crash or a window program that is killed
// rather than closed.
TraceSink standardOutputTrace();
