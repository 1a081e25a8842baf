#include "codegen/classic/expressions.h"

std::string buildNameList(const char* const* names, int m) {
    std::string line = "\tlong ";
    for (int i = 0; i < m; ++i) {
        line += names[i];
        line += i == m - 1 ? ";\n" : ", ";
    }
    return line;
}

std::string buildForHeader(const char* v, int32_t bound, int depth) {
    std::string line(depth > 0 ? size_t(depth) : 0, '\t');
    const std::string name = v;
    line += "for(" + name + "=0; " + name + "<" + std::to_string(bound) + "; " + name + "++) {\n";
    return line;
}

std::string buildOperandLine(const RadixPlan& plan, int s, int m) {
    const bool last = s == m - 1;
    std::string line = s == 0 ? "b=pSource" : (s % 2 ? "pTmp1=buffer1" : "pTmp1=buffer2");
    for (int l = 0; l < s; ++l) {
        line += "+";
        line += plan.tailProductText[l].data();
        line += "*";
        line += LoopNames::k[l];
    }
    line += "+";
    if (!last) {
        line += plan.tailProductText[s].data();
        line += "*";
    }
    line += LoopNames::j[m - 1 - s];
    line += last ? ";\n" : "+k;\n";
    return line;
}

std::string buildTwiddleIndex(const RadixPlan& plan, int s, int m) {
    std::string index = "((";
    for (int l = s; l >= 1; --l) {
        index += plan.headProductText[l].data();
        index += "*";
        index += LoopNames::k[l];
        index += "+";
    }
    index += "k0)*";
    index += LoopNames::j[m - 1 - s];
    if (s != m - 1) {
        index += "*";
        index += plan.tailProductText[s].data();
    }
    index += ")";
    return index;
}
