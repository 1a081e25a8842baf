// Compiled with -fexec-charset=CP932: the literals below are readable UTF-8
// in the source and code page 932 bytes in the program.
#include "command/messages.h"

namespace msg {
const char* const kLengthTooLarge = "データ長が250000を超えています。";
std::string fastLengthTooLarge(int32_t max) { return "データ長が" + std::to_string(max) + "を超えています。"; }
const char* const kPrime = "素数です";
const char* const kNeedComposite = "データ長には4以上の合成数を入力してください。";
const char* const kIdeographicSpace = "　";
const char* const kConfirmHead = "ソースファイル ";
const char* const kConfirmTail = " を作成します。よろしいですか？";
const char* const kConfirmAnd = " と ";
const char* const kConfirmCaption = "コードの生成";
const char* const kOverwriteTail = "は存在します。上書きしますか？";
const char* const kNotRegularFileTail = "は通常のファイルではないため、書き込めません。";
}  // namespace msg

namespace msg {
const char* const kLengthPrompt = "データ長の入力: ";
const char* const kFactorsLabel = "素因数分解の結果: ";
const char* const kYes = "はい";
const char* const kNo = "いいえ";
}  // namespace msg

namespace msg {
const char* const kNeeds64BitLong =
    "生成したコードは64ビットの long を前提としています。"
    "long が32ビットのWindowsのコンパイラーでは、このデータ長の変換結果は正しくなりません。\n"
    "代わりにコマンドラインプログラムの高速形式（kalvorin-cli --style=fast）をお使いください。";
}  // namespace msg
