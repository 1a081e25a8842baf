// Compiled with -fexec-charset=CP932.
#include "codegen/output/write_messages.h"

namespace msg {
const char* const kPreambleOpenFailed = "ファイルのオープンに失敗しました。";
const char* const kTransformOpenFailed = "ファイルがオープンに失敗しました。\nシステムに問題があります。";
const char* const kWriteFailed = "ファイルの書き込みに失敗しました。";
}  // namespace msg
