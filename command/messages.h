// The command's texts for the user, as code page 932 bytes.
#pragma once

#include <cstdint>
#include <string>

namespace msg {
extern const char* const kLengthTooLarge;    // データ長が250000を超えています。
// データ長が<max>を超えています。, the refusal of the fast style.
std::string fastLengthTooLarge(int32_t max);
extern const char* const kPrime;             // 素数です
extern const char* const kNeedComposite;     // データ長には4以上の合成数を入力してください。
extern const char* const kIdeographicSpace;  // the separator after every factor
extern const char* const kConfirmHead;       // ソースファイル 
extern const char* const kConfirmTail;       //  を作成します。よろしいですか？
extern const char* const kConfirmAnd;        //  と (between the two names of a file and its header)
extern const char* const kConfirmCaption;    // コードの生成
extern const char* const kOverwriteTail;     // は存在します。上書きしますか？
extern const char* const kNotRegularFileTail;  // は通常のファイルではないため、書き込めません。
}  // namespace msg

// Texts of the command-line program.
namespace msg {
extern const char* const kLengthPrompt;  // データ長の入力: 
extern const char* const kFactorsLabel;  // 素因数分解の結果: 
extern const char* const kYes;           // はい
extern const char* const kNo;            // いいえ
}  // namespace msg

// Texts of the window program.
namespace msg {
// After a classic file whose twiddle indices overflow a 32-bit long: the
// file needs a 64-bit long; use the fast style of kalvorin-cli instead.
extern const char* const kNeeds64BitLong;
}  // namespace msg
