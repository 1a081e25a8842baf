// The second half of the generate command: name the file, ask, write. Only
// the command itself uses this header: it names the radix plan, which is the
// command's own business and out of the front ends' reach.
#pragma once

#include <string>

#include "command/file_format.h"
#include "command/generate_result.h"
#include "command/trace_sink.h"
#include "command/user_dialogs.h"
#include "plan/radix_plan.h"

// "FFT" + N in decimal + ".cpp", and + ".h" for the fast file's header.
std::string outputFileName(int32_t n);
std::string headerFileName(int32_t n);

// True when the name is a regular file that can be opened for update; it is
// closed at once. Nothing else is ever opened, so this cannot block.
bool fileExists(const char* name);

// Asks for confirmation (and before overwriting), then runs the four
// writers in order, each whatever the earlier ones did, into a temporary
// file that replaces the named one only when all of them succeeded. A name
// taken by a FIFO or a device is refused before anything is written. The
// classic transforms' trace goes to `trace`. A fast file's header, when
// asked for, is asked about with it and written likewise; the two replace
// their old files only when both were written in full.
GenerateOutcome runOutputSequence(const RadixPlan& plan, UserDialogs& ui, FileFormat format, const TraceSink& trace);
