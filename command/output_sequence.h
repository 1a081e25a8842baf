// The second half of the generate command: name the file, ask, write.
#pragma once

#include <string>

#include "command/file_format.h"
#include "command/user_dialogs.h"
#include "plan/radix_plan.h"

// "FFT" + N in decimal + ".cpp".
std::string outputFileName(int32_t n);

// True when the file can be opened for update; it is closed at once.
bool fileExists(const char* name);

// Asks for confirmation (and before overwriting), then runs the four
// writers in order, each whatever the earlier ones did. True when the file
// was written in full.
bool runOutputSequence(const RadixPlan& plan, UserDialogs& ui, FileFormat format = {});
