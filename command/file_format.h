// What kind of file a command writes. The window always writes the classic
// one; the command line may ask for the fast one.
#pragma once

#include "codegen/output_style.h"

struct FileFormat {
    OutputStyle style = OutputStyle::Classic;
    Precision precision = Precision::Double;
};
