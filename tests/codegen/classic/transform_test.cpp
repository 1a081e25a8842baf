#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "codegen/classic/transform.h"
#include "plan/stage_wraps.h"
#include "test_support.h"

namespace {

using Listing = std::vector<std::pair<int, std::string>>;  // TABs, rest of line (UTF-8)

std::vector<std::string> emitted(int32_t n, TransformKind kind) {
    ScratchDir dir;
    RecordingDialogs ui;
    emitTransform(SourceWriter::open("out.cpp", "a"), kind, planFor(n), ui, {});
    EXPECT_TRUE(ui.calls.empty());
    return crlfLines(readFile("out.cpp"));
}

std::vector<std::string> render(const Listing& listing) {
    std::vector<std::string> lines;
    for (const auto& [tabs, text] : listing) lines.push_back(std::string(tabs, '\t') + cp932(text));
    return lines;
}

const Listing kInverse6 = {
    {0, "void IFFT6(complex *pDestination, complex *pSource, complex *pSinCosTable) {"},
    {1, "complex  *pTmp1, *pTmp2, buffer1[BUFF_SIZE], buffer2[BUFF_SIZE];"},
    {1, "//BUFF_SIZEが巨大でローカル変数として取れないときは"},
    {1, "// buffer1=(complex *)calloc(BUFF_SIZE,sizeof(complex));"},
    {1, "// buffer2=(complex *)calloc(BUFF_SIZE,sizeof(complex));として動的にメモリを確保してください。"},
    {1, "complex *b;"},
    {1, "long i, k, N;"},
    {1, "long k0, k1;"},
    {1, "long j0, j1;"},
    {1, "long iBuffer;"},
    {0, ""},
    {1, "N=6;"},
    {1, "for(i=0; i<N; i++) {"},
    {2, "buffer1[i].re=0.0;"},
    {2, "buffer1[i].im=0.0;"},
    {1, "}"},
    {1, "i=0;"},
    {1, "for(k0=0; k0<3; k0++) {"},
    {2, "for(k=0; k<2; k++) {"},
    {3, "for(j1=0; j1<3; j1++) {"},
    {4, "b=pSource+2*j1+k;"},
    {4, "iBuffer=((k0)*j1*2);"},
    {4, "if(iBuffer >= N) {"},
    {5, "pTmp2=pSinCosTable+iBuffer%N;"},
    {4, "}"},
    {4, "else pTmp2=pSinCosTable+iBuffer;"},
    {4, "buffer1[i].re += _COMPLEX_MULTIPLY_RE(pTmp2, b);"},
    {4, "buffer1[i].im += _COMPLEX_MULTIPLY_IM(pTmp2, b);"},
    {3, "}"},
    {3, "i++;"},
    {2, "}"},
    {1, "}"},
    {1, "for(i=0; i<N; i++) {"},
    {2, "(pDestination+i)->re=0.0;"},
    {2, "(pDestination+i)->im=0.0;"},
    {1, "}"},
    {1, "i=0;"},
    {1, "for(k1=0; k1<2; k1++) {"},
    {2, "for(k0=0; k0<3; k0++) {"},
    {3, "for(j0=0; j0<2; j0++) {"},
    {4, "pTmp1=buffer1+2*k0+j0;"},
    {4, "pTmp2=pSinCosTable+((3*k1+k0)*j0);"},
    {4, "pDestination[i].re += _COMPLEX_MULTIPLY_RE(pTmp2, pTmp1);"},
    {4, "pDestination[i].im += _COMPLEX_MULTIPLY_IM(pTmp2, pTmp1);"},
    {3, "}"},
    {3, "i++;"},
    {2, "}"},
    {1, "}"},
    {1, "for(i=0; i<N; i++) {"},
    {2, "pDestination[i].re/=(double)N;"},
    {2, "pDestination[i].im/=(double)N;"},
    {1, "}"},
    {0, ""},
    {0, "}"},
    {0, ""},
};

TEST(Transform, InverseFor6) {
    ASSERT_EQ(kInverse6.size(), 55u);
    EXPECT_EQ(emitted(6, TransformKind::Inverse), render(kInverse6));
}

TEST(Transform, RealAndComplexDifferOnlyWhereTheyShould) {
    struct Case {
        TransformKind kind;
        std::vector<std::pair<int, std::pair<int, std::string>>> changes;  // 1-based line
    };
    const Case cases[] = {
        {TransformKind::Real,
         {{1, {0, "void Real_FFT6(complex *pDestination, double *pSource, complex *pSinCosTable) {"}},
          {6, {1, "double *b;"}},
          {27, {4, "buffer1[i].re += (*b)*(pTmp2->re);"}},
          {28, {4, "buffer1[i].im += (*b)*(pTmp2->im);"}},
          {43, {4, "pDestination[i].re += COMPLEX_MULTIPLY_RE(pTmp1, pTmp2);"}},
          {44, {4, "pDestination[i].im += COMPLEX_MULTIPLY_IM(pTmp1, pTmp2);"}}}},
        {TransformKind::Complex,
         {{1, {0, "void Complex_FFT6(complex *pDestination, complex *pSource, complex *pSinCosTable) {"}},
          {2, {1, "complex *pTmp1, *pTmp2, buffer1[BUFF_SIZE], buffer2[BUFF_SIZE];"}},
          {4, {1, "//\tbuffer1=(complex *)calloc(BUFF_SIZE,sizeof(complex));"}},
          {27, {4, "buffer1[i].re += COMPLEX_MULTIPLY_RE(pTmp2, b);"}},
          {28, {4, "buffer1[i].im += COMPLEX_MULTIPLY_IM(pTmp2, b);"}},
          {43, {4, "pDestination[i].re += COMPLEX_MULTIPLY_RE(pTmp2, pTmp1);"}},
          {44, {4, "pDestination[i].im += COMPLEX_MULTIPLY_IM(pTmp2, pTmp1);"}}}},
    };
    for (const auto& c : cases) {
        Listing listing = kInverse6;
        for (const auto& [line, replacement] : c.changes) listing[line - 1] = replacement;
        listing.erase(listing.begin() + 48, listing.begin() + 53);  // no normalisation block
        EXPECT_EQ(emitted(6, c.kind), render(listing)) << int(c.kind);
    }
}

TEST(Transform, OddMiddleStageOfComplex12) {
    const Listing stage1 = {
        {1, "for(i=0; i<N; i++) {"},
        {2, "buffer2[i].re=0.0;"},
        {2, "buffer2[i].im=0.0;"},
        {1, "}"},
        {1, "i=0;"},
        {1, "for(k0=0; k0<3; k0++) {"},
        {2, "for(k1=0; k1<2; k1++) {"},
        {3, "for(k=0; k<2; k++) {"},
        {4, "for(j1=0; j1<2; j1++) {"},
        {5, "pTmp1=buffer1+4*k0+2*j1+k;"},
        {5, "pTmp2=pSinCosTable+((3*k1+k0)*j1*2);"},
        {5, "buffer2[i].re += COMPLEX_MULTIPLY_RE(pTmp2, pTmp1);"},
        {5, "buffer2[i].im += COMPLEX_MULTIPLY_IM(pTmp2, pTmp1);"},
        {4, "}"},
        {4, "i++;"},
        {3, "}"},
        {2, "}"},
        {1, "}"},
    };
    const auto lines = emitted(12, TransformKind::Complex);
    const auto expected = render(stage1);
    // Only stage 1 clears buffer2.
    auto start = std::search(lines.begin(), lines.end(), expected.begin(), expected.begin() + 3);
    ASSERT_NE(start, lines.end());
    ASSERT_LE(expected.size(), size_t(lines.end() - start));
    EXPECT_EQ(std::vector<std::string>(start, start + expected.size()), expected);
}

TEST(Transform, PowersOfTwoNeverReduceTheIndex) {
    for (int32_t n : {4, 1024, 131072}) {
        const auto lines = emitted(n, TransformKind::Complex);
        for (const auto& line : lines) {
            EXPECT_EQ(line.find("iBuffer"), std::string::npos) << n << ": " << line;
        }
    }
    const auto lines = emitted(131072, TransformKind::Inverse);
    const std::string deepest = std::string(19, '\t') + "pTmp1=buffer2+65536*k0+";
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [&](const std::string& l) { return l.rfind(deepest, 0) == 0; }));
}

TEST(Transform, TraceOfOneFunction) {
    const RadixPlan plan = planFor(12);
    ScratchDir dir;
    RecordingDialogs ui;
    TraceCapture trace;
    emitTransform(SourceWriter::open("out.cpp", "a"), TransformKind::Real, plan, ui, trace.sink());
    EXPECT_EQ(trace.lines, functionTraceOf12());
}

TEST(Transform, FailuresAreReported) {
    ScratchDir dir;
    const RadixPlan plan = planFor(12);
    std::filesystem::create_directory("dir.cpp");
    std::filesystem::create_symlink("/dev/full", "full.cpp");
    RecordingDialogs ui;
    emitTransform(SourceWriter::open("dir.cpp", "a"), TransformKind::Inverse, plan, ui, {});
    emitTransform(SourceWriter::open("full.cpp", "a"), TransformKind::Inverse, plan, ui, {});
    EXPECT_EQ(ui.calls, (std::vector<RecordingDialogs::Call>{
                            {"message", cp932("ファイルがオープンに失敗しました。\nシステムに問題があります。"), ""},
                            {"message", cp932("ファイルの書き込みに失敗しました。"), ""}}));
}

}  // namespace
