#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "codegen/fast/emitter_limits.h"
#include "command/generate_command.h"
#include "test_support.h"

namespace {

TEST(ParseLength, ConversionRules) {
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"12", 12},
        {" 12", 12},
        {"\t\n\v\f\r12", 12},
        {"+12", 12},
        {"-12", -12},
        {"12abc", 12},
        {"12;x", 12},
        {"0012", 12},
        {"", 0},
        {"abc", 0},
        {"+-12", 0},
        {"- 12", 0},
        {"\x81\x40" "12", 0},          // the ideographic space is not white space
        {"\x82\x50\x82\x51", 0},       // full-width "12"
        {"2147483647", 2147483647},
        {"-2147483647", -2147483647},
        {"2147483648", 2147483647},    // saturates instead of wrapping
        {"-2147483648", -2147483647},
        {"4294967308", 2147483647},    // would wrap to 12
        {"99999999999999999999", 2147483647},
    };
    for (const auto& c : cases) EXPECT_EQ(parseLength(c.text), c.value) << '"' << c.text << '"';
}

TEST(FactorText, IsCp932WithASeparatorAfterEveryFactor) {
    EXPECT_EQ(factorText({2, 2, 3}), std::string("2\x81\x40" "2\x81\x40" "3\x81\x40"));
}

struct Expect {
    std::string typed;
    std::vector<RecordingDialogs::Call> calls;
};

std::vector<RecordingDialogs::Call> runCommand(const std::string& typed) {
    RecordingDialogs ui;
    ui.defaultAnswer = false;  // decline the file: this half is about the factors
    onGenerate(typed, ui);
    return ui.calls;
}

RecordingDialogs::Call message(const char* utf8) { return {"message", cp932(utf8), ""}; }
RecordingDialogs::Call factors(const char* utf8) { return {"factors", cp932(utf8), ""}; }
RecordingDialogs::Call confirm(const char* name) {
    return {"ask", cp932(std::string("ソースファイル ") + name + " を作成します。よろしいですか？"), cp932("コードの生成")};
}

TEST(OnGenerate, MessagesAndFactors) {
    ScratchDir dir;
    const auto tooLarge = message("データ長が250000を超えています。");
    const auto prime = message("素数です");
    const auto noLength = message("データ長には4以上の合成数を入力してください。");
    const Expect cases[] = {
        {"12", {factors("2　2　3　"), confirm("FFT12.cpp")}},
        {" 12", {factors("2　2　3　"), confirm("FFT12.cpp")}},
        {"-12", {factors("2　2　3　"), confirm("FFT12.cpp")}},
        {"12abc", {factors("2　2　3　"), confirm("FFT12.cpp")}},
        {"250000", {factors("2　2　2　2　5　5　5　5　5　5　"), confirm("FFT250000.cpp")}},
        {"131072", {factors("2　2　2　2　2　2　2　2　2　2　2　2　2　2　2　2　2　"), confirm("FFT131072.cpp")}},
        {"250001", {tooLarge}},
        {"-300000", {tooLarge}},
        {"4294967308", {tooLarge}},
        {"-4294967308", {tooLarge}},
        {"2147483648", {tooLarge}},
        {"-2147483648", {tooLarge}},
        {"249989", {prime}},
        {"2", {prime}},
        {"3", {prime}},
        {"-7", {prime}},
        {"", {noLength}},
        {"0", {noLength}},
        {"1", {noLength}},
        {"-1", {noLength}},
        {"abc", {noLength}},
        {"\x82\x50\x82\x51", {noLength}},
    };
    for (const auto& c : cases) EXPECT_EQ(runCommand(c.typed), c.calls) << '"' << c.typed << '"';
    EXPECT_FALSE(pathExists("FFT12.cpp"));
}

// The fast style's limits: every length from 2 to its maximum, primes
// included; the refusals above and below keep the classic wording.
TEST(OnGenerate, FastStyleTakesPrimesAndLongerLengths) {
    ScratchDir dir;
    FileFormat fast;
    fast.style = OutputStyle::Fast;
    const std::string max = std::to_string(kFastMaxLength), above = std::to_string(kFastMaxLength + 1);
    const auto tooLarge = message(("データ長が" + max + "を超えています。").c_str());
    const auto noLength = message("データ長には4以上の合成数を入力してください。");
    std::string twos;  // the factors of the maximum, a power of two
    for (int32_t n = kFastMaxLength; n > 1; n /= 2) twos += "2　";
    const Expect cases[] = {
        {"2", {factors("2　"), confirm("FFT2.cpp")}},
        {"-7", {factors("7　"), confirm("FFT7.cpp")}},
        {"249989", {factors("249989　"), confirm("FFT249989.cpp")}},
        {"250001", {factors("53　53　89　"), confirm("FFT250001.cpp")}},
        {max, {factors(twos.c_str()), confirm(("FFT" + max + ".cpp").c_str())}},
        {"16777213", {factors("16777213　"), confirm("FFT16777213.cpp")}},
        {above, {tooLarge}},
        {"2147483648", {tooLarge}},
        {"1", {noLength}},
        {"0", {noLength}},
    };
    for (const auto& c : cases) {
        RecordingDialogs ui;
        ui.defaultAnswer = false;
        onGenerate(c.typed, ui, fast);
        EXPECT_EQ(ui.calls, c.calls) << '"' << c.typed << '"';
    }
}

TEST(OnGenerate, RefusedLengthLeavesTheFactorsAlone) {
    ScratchDir dir;
    RecordingDialogs ui;
    ui.defaultAnswer = false;
    onGenerate("12", ui);
    onGenerate("7", ui);
    ASSERT_EQ(ui.calls.size(), 3u);
    EXPECT_EQ(ui.calls[0].op, "factors");
    EXPECT_EQ(ui.calls[2], message("素数です"));
}

// What the command tells its caller, for every way it can end.
TEST(OnGenerate, ResultSaysWhatHappened) {
    using O = GenerateOutcome;
    struct Case {
        const char* typed;
        std::vector<bool> answers;
        const char* inTheWay;  // what holds the file's name beforehand: "dir", "file" or ""
        O outcome;
        int32_t length;
        std::vector<int32_t> factors;
        int64_t largest;
    };
    const Case cases[] = {
        {"12", {}, "", O::Written, 12, {2, 2, 3}, 16},
        {"-12", {false}, "", O::Declined, 12, {2, 2, 3}, 16},
        {"12", {true, false}, "file", O::Declined, 12, {2, 2, 3}, 16},
        {"12", {}, "dir", O::Failed, 12, {2, 2, 3}, 16},
        {"65542", {false}, "", O::Declined, 65542, {2, 32771}, 2147745800},
        {"250001", {}, "", O::RefusedTooLarge, 250001, {}, 0},
        {"4294967308", {}, "", O::RefusedTooLarge, 2147483647, {}, 0},
        {"7", {}, "", O::RefusedPrime, 7, {}, 0},
        {"-1", {}, "", O::RefusedNotComposite, 1, {}, 0},
        {"abc", {}, "", O::RefusedNotComposite, 0, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.typed) + " " + c.inTheWay);
        ScratchDir dir;
        if (std::string(c.inTheWay) == "dir") std::filesystem::create_directory("FFT12.cpp");
        if (std::string(c.inTheWay) == "file") writeFile("FFT12.cpp", "old");
        RecordingDialogs ui;
        ui.answers = c.answers;
        const GenerateResult r = onGenerate(c.typed, ui);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.written(), c.outcome == O::Written);
        EXPECT_EQ(r.length, c.length);
        EXPECT_EQ(r.factors, c.factors);
        EXPECT_EQ(r.largestTwiddleIndex, c.largest);
    }
}

// A fast file and its header are asked about together, each taken name on
// its own, and written both or neither.
TEST(OnGenerate, FastFileWithItsHeader) {
    const auto overwrite = [](const char* name) {
        return RecordingDialogs::Call{"ask", cp932(std::string(name) + "は存在します。上書きしますか？"), ""};
    };
    const auto both = confirm("FFT12.cpp と FFT12.h"), twelve = factors("2　2　3　");
    struct Case {
        const char* what;
        std::vector<const char*> before;  // files holding "old"; a name ending in / is a directory
        std::vector<bool> answers;
        std::vector<RecordingDialogs::Call> calls;
        GenerateOutcome outcome;
        const char* cpp;  // FFT12.cpp afterwards: "new", "old" or "" for none
        const char* h;
    };
    const Case cases[] = {
        {"new", {}, {}, {twelve, both}, GenerateOutcome::Written, "new", "new"},
        {"the header declined", {"FFT12.h"}, {true, false}, {twelve, both, overwrite("FFT12.h")},
         GenerateOutcome::Declined, "", "old"},
        {"both overwritten", {"FFT12.cpp", "FFT12.h"}, {},
         {twelve, both, overwrite("FFT12.cpp"), overwrite("FFT12.h")}, GenerateOutcome::Written, "new", "new"},
        {"the header's name taken by a directory", {"FFT12.h/"}, {},
         {twelve, both, message("ファイルのオープンに失敗しました。")}, GenerateOutcome::Failed, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        for (const std::string name : c.before)
            if (name.back() == '/')
                std::filesystem::create_directory(name);
            else
                writeFile(name, "old");
        RecordingDialogs ui;
        ui.answers = c.answers;
        const GenerateResult r = onGenerate("12", ui, FileFormat{OutputStyle::Fast, FloatType::Double, "", true});
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(ui.calls, c.calls);
        const auto state = [](const char* name, const char* marker) {
            if (!std::filesystem::is_regular_file(name)) return std::string();
            const std::string content = readFile(name);
            return content == "old" ? std::string("old") : content.find(marker) != std::string::npos ? "new" : content;
        };
        EXPECT_EQ(state("FFT12.cpp", "\nvoid Complex_FFT12("), c.cpp);
        EXPECT_EQ(state("FFT12.h", "void Complex_FFT12("), c.h);
    }
}

TEST(OnGenerate, ReadsAtMostNineteenBytes) {
    ScratchDir dir;
    RecordingDialogs ui;
    ui.defaultAnswer = false;
    // Twenty digits whose first nineteen are 0000000000000000012.
    EXPECT_EQ(onGenerate("00000000000000000120", ui).length, 12);
    // A view without a terminator is not read past its end.
    const char bytes[3] = {'1', '2', '0'};
    EXPECT_EQ(onGenerate(std::string_view(bytes, 2), ui).length, 12);
}

}  // namespace
