#include "codegen/classic/transform.h"

#include <string>

#include "codegen/output/write_messages.h"
#include "codegen/classic/expressions.h"
#include "codegen/output/source_writer.h"
#include "codegen/output/write_report.h"
#include "plan/stage_wraps.h"

namespace {

// The arrays one stage clears, fills and reads, fixed by its place.
struct StageRole {
    const char* target;    // "buffer1[i]", written before an accumulate right-hand side
    const char* clearRe;
    const char* clearIm;
};

StageRole roleOf(int s, int m) {
    if (s == m - 1) return {"pDestination[i]", "\t\t(pDestination+i)->re=0.0;\n", "\t\t(pDestination+i)->im=0.0;\n"};
    if (s % 2) return {"buffer2[i]", "\t\tbuffer2[i].re=0.0;\n", "\t\tbuffer2[i].im=0.0;\n"};
    return {"buffer1[i]", "\t\tbuffer1[i].re=0.0;\n", "\t\tbuffer1[i].im=0.0;\n"};
}

void emitStage(SourceWriter& w, const TransformTemplate& t, const RadixPlan& plan, int s, const TraceSink& trace) {
    const int m = plan.stageCount;
    const bool last = s == m - 1;
    const int depth = last ? m + 1 : s + 3;  // of the j loop
    const StageRole role = roleOf(s, m);

    w.writeText("\tfor(i=0; i<N; i++) {\n");
    w.writeText(role.clearRe);
    w.writeText(role.clearIm);
    w.writeText("\t}\n");
    w.writeText("\ti=0;\n");

    if (last) {
        // Backwards: k(m-1) outermost, k0 innermost, and no "k" loop.
        for (int l = 0; l < m; ++l)
            w.writeText(buildForHeader(LoopNames::k[m - 1 - l], plan.radix[m - 1 - l], l + 1).c_str());
    } else {
        for (int l = 0; l <= s; ++l) w.writeText(buildForHeader(LoopNames::k[l], plan.radix[l], l + 1).c_str());
        w.writeText(buildForHeader("k", plan.tailProduct[s], s + 2).c_str());
    }
    w.writeText(buildForHeader(LoopNames::j[m - 1 - s], plan.radix[s], depth).c_str());
    w.writeIndented(depth + 1, buildOperandLine(plan, s, m).c_str());

    // stageWraps is asked twice on purpose: each asking writes its trace,
    // and the trace of a generated function is part of the output.
    const std::string index = buildTwiddleIndex(plan, s, m);
    if (stageWraps(plan, s, trace)) {
        w.writeIndented(depth + 1, ("iBuffer=" + index + ";\n").c_str());
        w.writeIndented(depth + 1, "if(iBuffer >= N) {\n");
        w.writeIndented(depth + 2, "pTmp2=pSinCosTable+iBuffer%N;\n");
        w.writeIndented(depth + 1, "}\n");
        w.writeIndented(depth + 1, "else pTmp2=pSinCosTable+iBuffer;\n");
    }
    if (!stageWraps(plan, s, trace)) w.writeIndented(depth + 1, ("pTmp2=pSinCosTable+" + index + ";\n").c_str());

    const std::string target = role.target;
    w.writeIndented(depth + 1, (target + (s == 0 ? t.firstRe : t.laterRe)).c_str());
    w.writeIndented(depth + 1, (target + (s == 0 ? t.firstIm : t.laterIm)).c_str());

    for (int d = depth; d >= 1; --d) {
        w.writeIndented(d, "}\n");
        if (d == depth) w.writeIndented(depth, "i++;\n");
    }
}

}  // namespace

bool emitTransform(std::unique_ptr<SourceWriter> writer, TransformKind kind, const RadixPlan& plan,
                   MessageSink& ui, const TraceSink& trace) {
    const TransformTemplate& t = transformTemplate(kind);
    const std::string firstLine = t.namePrefix + plan.lengthText + t.parameterList;
    if (!writer) {
        ui.showMessage(msg::kTransformOpenFailed, "");
        return false;
    }
    SourceWriter& w = *writer;
    w.writeText(firstLine.c_str());
    for (const char* text : t.declarations) w.writeText(text);
    w.writeText(buildNameList(LoopNames::k, plan.stageCount).c_str());
    w.writeText(buildNameList(LoopNames::j, plan.stageCount).c_str());
    if (anyStageWraps(plan, trace)) w.writeText("\tlong iBuffer;\n");
    w.writeText("\n");
    w.writeText(("\tN=" + plan.lengthText + ";").c_str());
    w.writeText("\n");
    for (int s = 0; s < plan.stageCount; ++s) emitStage(w, t, plan, s, trace);
    for (const char* text : t.closing)
        if (text) w.writeText(text);
    w.writeText("}\n\n");
    return closeAndReport(w, ui);
}
