#include <gtest/gtest.h>

#include <filesystem>

#include "codegen/classic/preamble.h"
#include "test_support.h"

namespace {

std::string expectedPreamble(const std::string& lengthText) {
    return fileBytes(
        "#include <math.h>\n"
        "#include <malloc.h> //動的にメモリを確保する必要がある場合は、インクルードしてください。\n"
        "#define pi 3.14159265358979\n"
        "#define COMPLEX_MULTIPLY_RE(p_Z,p_W) ((p_Z)->re)*((p_W)->re)-((p_Z)->im)*((p_W)->im)\n"
        "#define COMPLEX_MULTIPLY_IM(p_Z,p_W) ((p_Z)->im)*((p_W)->re)+((p_Z)->re)*((p_W)->im)\n"
        "#define _COMPLEX_MULTIPLY_RE(p_Z,p_W) ((p_Z)->re)*((p_W)->re)+((p_Z)->im)*((p_W)->im)\n"
        "#define _COMPLEX_MULTIPLY_IM(p_Z,p_W) ((p_Z)->re)*((p_W)->im)-((p_Z)->im)*((p_W)->re)\n"
        "#define BUFF_SIZE " + lengthText + "\n\n"
        "//複素数構造体\n"
        "typedef struct {\n"
        "\tdouble re,im;\n"
        "} complex;\n\n"
        "//作業用テーブルexp(-2.0*pi*√-1*k*n/N)を作成\n"
        "void revolver(long N, complex *pSinCosTable)\n"
        "{\n"
        "\tlong i;\n"
        "\tfor(i=0; i<N; i++) {\n"
        "\t\t(pSinCosTable+i)->re=cos(2.0*pi*(double)i/(double)N);\n"
        "\t\t(pSinCosTable+i)->im=-sin(2.0*pi*(double)i/(double)N);\n"
        "\t}\n}\n\n");
}

TEST(Preamble, BytesOnDisk) {
    ScratchDir dir;
    struct Case {
        std::string lengthText;
        size_t size;
    };
    // "12%" shows that the define is written plainly, not as a format.
    const Case cases[] = {{"12", 825}, {"250000", 829}, {"12%", 826}};
    for (const auto& c : cases) {
        RadixPlan plan;
        plan.lengthText = c.lengthText;
        writeFile("FFT.cpp", std::string(5000, 'x'));  // old, longer content must vanish
        RecordingDialogs ui;
        emitPreamble(SourceWriter::open("FFT.cpp", "w"), plan, ui);
        const std::string bytes = readFile("FFT.cpp");
        EXPECT_EQ(bytes, expectedPreamble(c.lengthText)) << c.lengthText;
        EXPECT_EQ(bytes.size(), c.size);
        EXPECT_TRUE(ui.calls.empty());
    }
}

TEST(Preamble, TemplateTablesKeepTheirShape) {
    for (int i = 7; i < kHeaderSlots; ++i) EXPECT_STREQ(headerLines[i], "") << i;
    for (const auto* table : {&headerLines[0], &complexStructLines[0]})
        for (const char* p = *table; *p; ++p) EXPECT_NE(*p, '%');
}

TEST(Preamble, OpenFailureIsReportedAndNothingWritten) {
    ScratchDir dir;
    std::filesystem::create_directory("FFT12.cpp");
    RadixPlan plan;
    plan.lengthText = "12";
    RecordingDialogs ui;
    emitPreamble(SourceWriter::open("FFT12.cpp", "w"), plan, ui);
    ASSERT_EQ(ui.calls.size(), 1u);
    EXPECT_EQ(ui.calls[0], (RecordingDialogs::Call{"message", cp932("ファイルのオープンに失敗しました。"), ""}));
    EXPECT_TRUE(std::filesystem::is_empty("FFT12.cpp"));
}

TEST(Preamble, FailedWriteIsReportedOnce) {
    ScratchDir dir;
    std::filesystem::create_symlink("/dev/full", "FFT12.cpp");
    RadixPlan plan;
    plan.lengthText = "12";
    RecordingDialogs ui;
    emitPreamble(SourceWriter::open("FFT12.cpp", "w"), plan, ui);
    EXPECT_EQ(ui.calls, (std::vector<RecordingDialogs::Call>{
                            {"message", cp932("ファイルの書き込みに失敗しました。"), ""}}));
}

}  // namespace
