// What kind of file a command writes. The window always writes the classic
// one; the command line may ask for the fast one, in either number type,
// with its names prefixed and with a header.
#pragma once

#include <string>

enum class OutputStyle { Classic, Fast };
enum class FloatType { Double, Single };

struct FileFormat {
    OutputStyle style = OutputStyle::Classic;
    FloatType precision = FloatType::Double;
    // Fast style only: a C identifier that the type, the functions and the
    // internals of the file carry (NAME_complex, NAME_revolver, ...), or
    // empty for the plain names.
    std::string prefix;
    // Fast style only: FFT<N>.h beside FFT<N>.cpp.
    bool header = false;
};
