#include <gtest/gtest.h>

#include "codegen/classic/expressions.h"
#include "test_support.h"

namespace {

TEST(Expressions, OperandLinesAndTwiddleIndices) {
    struct Case {
        int32_t n;
        std::vector<std::pair<std::string, std::string>> stages;
    };
    const Case cases[] = {
        {6, {{"b=pSource+2*j1+k;\n", "((k0)*j1*2)"}, {"pTmp1=buffer1+2*k0+j0;\n", "((3*k1+k0)*j0)"}}},
        {12,
         {{"b=pSource+4*j2+k;\n", "((k0)*j2*4)"},
          {"pTmp1=buffer1+4*k0+2*j1+k;\n", "((3*k1+k0)*j1*2)"},
          {"pTmp1=buffer2+4*k0+2*k1+j0;\n", "((6*k2+3*k1+k0)*j0)"}}},
        {60,
         {{"b=pSource+12*j3+k;\n", "((k0)*j3*12)"},
          {"pTmp1=buffer1+12*k0+4*j2+k;\n", "((5*k1+k0)*j2*4)"},
          {"pTmp1=buffer2+12*k0+4*k1+2*j1+k;\n", "((15*k2+5*k1+k0)*j1*2)"},
          {"pTmp1=buffer1+12*k0+4*k1+2*k2+j0;\n", "((30*k3+15*k2+5*k1+k0)*j0)"}}},
    };
    for (const auto& c : cases) {
        const RadixPlan plan = planFor(c.n);
        const int m = plan.stageCount;
        ASSERT_EQ(m, int(c.stages.size()));
        for (int s = 0; s < m; ++s) {
            EXPECT_EQ(buildOperandLine(plan, s, m), c.stages[s].first) << c.n << " stage " << s;
            EXPECT_EQ(buildTwiddleIndex(plan, s, m), c.stages[s].second) << c.n << " stage " << s;
        }
    }
}

TEST(Expressions, ForHeaders) {
    struct Case {
        const char* v;
        int32_t bound;
        int depth;
        std::string text;
    };
    const Case cases[] = {
        {"k0", 3, 1, "\tfor(k0=0; k0<3; k0++) {\n"},
        {"k1", 2, 2, "\t\tfor(k1=0; k1<2; k1++) {\n"},
        {"k", 2, 3, "\t\t\tfor(k=0; k<2; k++) {\n"},
        {"j1", 2, 4, "\t\t\t\tfor(j1=0; j1<2; j1++) {\n"},
        {"j0", 2, 0, "for(j0=0; j0<2; j0++) {\n"},
        {"k15", 2, 16, std::string(16, '\t') + "for(k15=0; k15<2; k15++) {\n"},
        {"j1", 124991, 3, "\t\t\tfor(j1=0; j1<124991; j1++) {\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(buildForHeader(c.v, c.bound, c.depth), c.text);
    EXPECT_EQ(buildForHeader("k15", 2, 16).size(), 43u);
}

TEST(Expressions, NameListsAndTheLongestTexts) {
    EXPECT_EQ(buildNameList(LoopNames::k, 3), "\tlong k0, k1, k2;\n");
    EXPECT_EQ(buildNameList(LoopNames::j, 2), "\tlong j0, j1;\n");
    const std::string k17 = buildNameList(LoopNames::k, 17);
    EXPECT_EQ(k17.size(), 81u);
    EXPECT_EQ(k17.substr(k17.size() - 10), "k15, k16;\n");

    const RadixPlan p131072 = planFor(131072);
    const std::string last = buildOperandLine(p131072, 16, 17);
    EXPECT_EQ(last.size(), 137u);
    EXPECT_EQ(last.rfind("pTmp1=buffer2+65536*k0+32768*k1+", 0), 0u);
    EXPECT_EQ(last.substr(last.size() - 17), "+4*k14+2*k15+j0;\n");

    const RadixPlan p196608 = planFor(196608);
    EXPECT_EQ(buildTwiddleIndex(p196608, 16, 17).size(), 131u);
    EXPECT_EQ(buildOperandLine(p196608, 16, 17).size(), 137u);
}

}  // namespace
