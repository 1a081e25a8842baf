// The generate command: from the typed length to the last writer call.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "command/file_format.h"
#include "command/generate_result.h"
#include "command/trace_sink.h"
#include "command/user_dialogs.h"

constexpr int32_t kMaxLength = 250000;  // of the classic style

// The longest length a style writes: kMaxLength for the classic style, for
// the fast style the longest its guarantees hold for.
int32_t maxLength(OutputStyle style);
constexpr int kLengthFieldSize = 20;  // 19 bytes and a terminator

// Leading blanks (0x20, 0x09..0x0D), one optional sign, then ASCII digits up
// to the first other byte; no digits gives 0. A digit run beyond the signed
// 32-bit range saturates to +-2147483647 instead of wrapping, so its
// magnitude can never slip under the length limit.
int32_t parseLength(const char* text);

// "%d　" for each factor in the order given, the separator after the last
// one too, in code page 932.
std::string factorText(const std::vector<int32_t>& factors);

// Runs the command once for the text of the length box. Only the first 19
// bytes of `typed` (up to a NUL) are read, whatever it holds. The classic
// style takes composite lengths from 4 to kMaxLength, the fast style every
// length from 2 to its maximum. The classic file's trace goes to `trace`;
// by default nowhere.
GenerateResult onGenerate(std::string_view typed, UserDialogs& ui, FileFormat format = {},
                          const TraceSink& trace = {});
