// The writers' failure reports, as code page 932 bytes.
#pragma once

namespace msg {
extern const char* const kPreambleOpenFailed;   // ファイルのオープンに失敗しました。
extern const char* const kTransformOpenFailed;  // ファイルがオープンに失敗しました。\nシステムに問題があります。
extern const char* const kWriteFailed;          // ファイルの書き込みに失敗しました。
}  // namespace msg
