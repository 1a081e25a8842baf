// What kind of file a command writes. The window always writes the classic
// one; the command line may ask for the fast one, in either number type.
#pragma once

enum class OutputStyle { Classic, Fast };
enum class FloatType { Double, Single };

struct FileFormat {
    OutputStyle style = OutputStyle::Classic;
    FloatType precision = FloatType::Double;
};
