#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "process_runner.h"
#include "test_support.h"

namespace {

const std::string kProgram = KALVORIN_PROGRAM;
const std::string kFactors12 = "素因数分解の結果: 2　2　3　\n";

std::vector<std::string> args(std::initializer_list<std::string> rest) {
    std::vector<std::string> v = {kProgram};
    v.insert(v.end(), rest);
    return v;
}

std::string golden12() { return readFile(KALVORIN_TEST_DATA "/FFT12.cpp"); }

TEST(Cli, LengthsAsArguments) {
    struct Case {
        std::vector<std::string> argv;
        int status;
        std::string out;
        std::string errHas;
        std::vector<std::string> files;
        std::string dir = ".";  // made beforehand; where the files are looked for
    };
    const Case cases[] = {
        {args({"--yes", "12"}), 0, kFactors12, "", {"FFT12.cpp"}},
        {args({"-y", " 12"}), 0, kFactors12, "", {"FFT12.cpp"}},
        {args({"-y", "12abc"}), 0, kFactors12, "", {"FFT12.cpp"}},
        {args({"-y", "-12"}), 0, kFactors12, "", {"FFT12.cpp"}},
        {args({"-y", "250000"}), 0, "素因数分解の結果: 2　2　2　2　5　5　5　5　5　5　\n", "", {"FFT250000.cpp"}},
        {args({"-y", "7"}), 1, "", "素数です\n", {}},
        {args({"-y", "250001"}), 1, "", "データ長が250000を超えています。\n", {}},
        {args({"-y", ""}), 1, "", "データ長には4以上の合成数を入力してください。\n", {}},
        {args({"-y", "12", "7"}), 1, kFactors12, "素数です\n", {"FFT12.cpp"}},
        {args({"12"}), 1, kFactors12, "pass --yes", {}},
        {args({"--bogus", "12"}), 2, "", "unknown option '--bogus'", {}},
        {args({"-y", "12345678901234567890"}), 2, "", "longer than 19 bytes", {}},
        {args({"-C"}), 2, "", "needs a directory", {}},
        {args({"-yC", ".", "-12"}), 0, kFactors12, "", {"FFT12.cpp"}},
        // The value of -C is a directory even where it reads as a length.
        {args({"--yes", "-C", "-12", "12"}), 0, kFactors12, "", {"FFT12.cpp"}, "-12"},
        {args({"-yC", "-12", "12"}), 0, kFactors12, "", {"FFT12.cpp"}, "-12"},
        {args({"--ye", "--dir", ".", "--", "-12"}), 0, kFactors12, "", {"FFT12.cpp"}},
        {args({"-y", "--style=classic", "12"}), 0, kFactors12, "", {"FFT12.cpp"}},
        {args({"-y", "--style", "foo", "12"}), 2, "", "unknown style 'foo'", {}},
        {args({"-y", "--precision=single", "12"}), 2, "", "--style=fast only", {}},
        {args({"-y", "--style=fast", "--header", "--prefix", "dsp", "12"}), 0, kFactors12, "", {"FFT12.cpp", "FFT12.h"}},
        {args({"-y", "--prefix=dsp", "12"}), 2, "", "--prefix is for --style=fast only", {}},
        {args({"-y", "--header", "12"}), 2, "", "--header is for --style=fast only", {}},
        {args({"-y", "--style=fast", "--prefix=2x", "12"}), 2, "", "prefix '2x' is not a C identifier", {}},
        {args({"-y", "--style=fast", "--prefix=a-b", "12"}), 2, "", "prefix 'a-b' is not a C identifier", {}},
        // The fast style's limits: primes and lengths up to 16777216.
        {args({"--style=fast", "--yes", "7"}), 0, "素因数分解の結果: 7　\n", "", {"FFT7.cpp"}},
        {args({"--style=fast", "-y", "16777217"}), 1, "", "データ長が16777216を超えています。\n", {}},
        {args({"--style=fast", "-y", "1"}), 1, "", "データ長には4以上の合成数を入力してください。\n", {}},
        {args({"--style=fast", "-y", "0"}), 1, "", "データ長には4以上の合成数を入力してください。\n", {}},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        std::string line;
        for (size_t i = 1; i < c.argv.size(); ++i) line += c.argv[i] + " ";
        SCOPED_TRACE(line);
        std::filesystem::create_directory(c.dir);
        const ProcessResult r = runProcess(c.argv);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.out, c.out);
        EXPECT_NE(r.err.find(c.errHas), std::string::npos) << r.err;
        std::vector<std::string> files;
        for (const auto& e : std::filesystem::directory_iterator(c.dir)) files.push_back(e.path().filename());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, c.files);
        if (c.files == std::vector<std::string>{"FFT12.cpp"}) {
            EXPECT_EQ(readFile(c.dir + "/FFT12.cpp"), golden12());
        }
    }
}

TEST(Cli, LengthsFromStandardInput) {
    ScratchDir dir;
    const ProcessResult r = runProcess(args({"--yes"}), "12\n60\r\n");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile("FFT12.cpp"), golden12());
    EXPECT_TRUE(pathExists("FFT60.cpp"));
    EXPECT_EQ(r.err, "");  // no prompt without a terminal

    const ProcessResult tooLong = runProcess(args({"--yes"}), "00000000000000000004\n4");
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_NE(tooLong.err.find("longer than 19 bytes"), std::string::npos);
    EXPECT_TRUE(pathExists("FFT4.cpp"));  // the last line needs no line end
}

TEST(Cli, TraceForTwelve) {
    ScratchDir dir;
    const ProcessResult r = runProcess(args({"--yes", "--trace", "12"}));
    std::string expected = kFactors12;
    for (const std::string& line : fileTraceOf12()) expected += line;
    EXPECT_EQ(r.out, expected);
}

TEST(Cli, DirectoryOption) {
    ScratchDir dir;
    std::filesystem::create_directory("out");
    EXPECT_EQ(runProcess(args({"-y", "-C", "out", "12"})).status, 0);
    EXPECT_EQ(runProcess(args({"-y", "--directory=out", "4"})).status, 0);
    EXPECT_EQ(readFile("out/FFT12.cpp"), golden12());
    EXPECT_TRUE(pathExists("out/FFT4.cpp"));

    writeFile("plain", "x");
    const ProcessResult r = runProcess(args({"-y", "-C", "plain", "12"}));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot work in 'plain'"), std::string::npos) << r.err;
}

TEST(Cli, UnopenableFileGivesFourReports) {
    ScratchDir dir;
    std::filesystem::create_directory("FFT12.cpp");
    const ProcessResult r = runProcess(args({"-y", "12"}));
    EXPECT_EQ(r.status, 1);
    const std::string transform = "ファイルがオープンに失敗しました。\nシステムに問題があります。\n";
    EXPECT_EQ(r.err, "ファイルのオープンに失敗しました。\n" + transform + transform + transform);
    EXPECT_TRUE(std::filesystem::is_empty("FFT12.cpp"));
}

TEST(Cli, AnswersTypedAtTheTerminal) {
    struct Case {
        const char* typed;
        bool present;
        int status;
        bool written;
    };
    const Case cases[] = {
        {"y\n", false, 0, true},
        {"はい\n", false, 0, true},
        {"maybe\nyes\n", false, 0, true},
        {"n\n", false, 1, false},
        {"y\nn\n", true, 1, false},     // overwrite declined: the old file stays
        {"y\nいいえ\n", true, 1, false},
        {"y\ny\n", true, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ScratchDir dir;
        if (c.present) writeFile("FFT12.cpp", "old");
        const ProcessResult r = runOnTerminal(args({"12"}), c.typed);
        EXPECT_EQ(r.status, c.status) << r.out;
        EXPECT_NE(r.out.find("ソースファイル FFT12.cpp を作成します。よろしいですか？"), std::string::npos);
        EXPECT_EQ(r.out.find("上書きしますか") != std::string::npos, c.present);
        expectFft12(c.written, c.present, "old");
    }
}

TEST(Cli, PromptsForLengthsOnATerminal) {
    ScratchDir dir;
    const ProcessResult r = runOnTerminal(args({"--yes"}), "12\n\x04");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("データ長の入力: "), std::string::npos);
    EXPECT_EQ(readFile("FFT12.cpp"), golden12());
}

TEST(Cli, HelpAndVersion) {
    const ProcessResult help = runProcess(args({"--help"}));
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: kalvorin"), std::string::npos);
    const ProcessResult version = runProcess(args({"--version"}));
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "kalvorin 1.0.0\n");
}

}  // namespace

// The style options reach the writer: each file says its style and number
// type, and the fast one never warns about a 32-bit long.
TEST(Cli, StyleAndPrecisionPickTheFile) {
    struct Case {
        std::vector<std::string> argv;
        std::string has;
        bool warns;
        std::string file = "FFT65542.cpp";
    };
    const Case cases[] = {
        {args({"-y", "65542"}), "double re,im;", true},
        {args({"-y", "--style=fast", "65542"}), "typedef struct { double re, im; } complex;", false},
        {args({"-y", "--st", "fast", "--prec=single", "65542"}), "typedef struct { float re, im; } complex;", false},
        {args({"-y", "--style=fast", "--pref=dsp", "65542"}), "\nvoid dsp_IFFT65542(dsp_complex *pDestination", false},
        {args({"-y", "--style=fast", "--prec=single", "--hea", "65542"}),
         "void Real_FFT65542(complex *pDestination, const float *pSource, const complex *pSinCosTable);", false,
         "FFT65542.h"},
    };
    for (const auto& c : cases) {
        ScratchDir dir;
        std::string line;
        for (size_t i = 1; i < c.argv.size(); ++i) line += c.argv[i] + " ";
        SCOPED_TRACE(line);
        const ProcessResult r = runProcess(c.argv);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_NE(readFile(c.file).find(c.has), std::string::npos);
        EXPECT_EQ(r.err.find("warning") != std::string::npos, c.warns) << r.err;
    }
}
