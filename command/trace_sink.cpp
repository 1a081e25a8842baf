#include "command/trace_sink.h"

#include <cstdio>

TraceSink standardOutputTrace() {
    return [](const std::string& line) {
        std::fputs(line.c_str(), stdout);
        std::fflush(stdout);
    };
}
