#include "command/output_sequence.h"

#include "codegen/classic/preamble.h"
#include "codegen/classic/transform.h"
#include "codegen/fast/fast_file.h"
#include "codegen/output/replacement_file.h"
#include "codegen/output/source_writer.h"
#include "codegen/output/write_messages.h"
#include "codegen/output/write_report.h"
#include "command/messages.h"
#include "plan/fast_plan.h"

std::string outputFileName(int32_t n) { return "FFT" + std::to_string(n) + ".cpp"; }

bool fileExists(const char* name) {
    return fileKind(name) == FileKind::Regular && SourceWriter::open(name, "r+") != nullptr;
}

namespace {

// The fast file comes from one writer. Opening it fails the way the
// preamble's open fails, with the same message.
bool writeFast(ReplacementFile& file, const RadixPlan& plan, FloatType type, UserDialogs& ui) {
    auto writer = file.openWriter();
    if (!writer) {
        ui.showMessage(msg::kPreambleOpenFailed, "");
        return false;
    }
    const std::vector<int32_t> primes(plan.factors.begin(), plan.factors.begin() + plan.stageCount);
    writeFastFile(*writer, makeFastPlan(primes), type == FloatType::Single ? Precision::Single : Precision::Double);
    return closeAndReport(*writer, ui) && commitAndReport(file, ui);
}

bool writeClassic(ReplacementFile& file, const RadixPlan& plan, UserDialogs& ui, const TraceSink& trace) {
    bool written = emitPreamble(file.openWriter(), plan, ui);
    for (TransformKind kind : {TransformKind::Inverse, TransformKind::Real, TransformKind::Complex})
        written = emitTransform(file.openWriter(), kind, plan, ui, trace) && written;
    return written && commitAndReport(file, ui);
}

}  // namespace

GenerateOutcome runOutputSequence(const RadixPlan& plan, UserDialogs& ui, FileFormat format, const TraceSink& trace) {
    const std::string name = outputFileName(plan.length);
    const std::string confirm = msg::kConfirmHead + name + msg::kConfirmTail;
    if (!ui.askYesNo(confirm.c_str(), msg::kConfirmCaption)) return GenerateOutcome::Declined;
    // A directory in the name's place is left to fail as every unopenable
    // file does; anything else that is no regular file is refused here,
    // before a question whose Yes could do nothing.
    if (fileKind(name.c_str()) == FileKind::Special) {
        const std::string refusal = name + msg::kNotRegularFileTail;
        ui.showMessage(refusal.c_str(), "");
        return GenerateOutcome::RefusedSpecialFile;
    }
    if (fileExists(name.c_str())) {
        const std::string overwrite = name + msg::kOverwriteTail;
        if (!ui.askYesNo(overwrite.c_str(), "")) return GenerateOutcome::Declined;
    }
    ReplacementFile file(name.c_str());
    const bool written = format.style == OutputStyle::Fast ? writeFast(file, plan, format.precision, ui)
                                                           : writeClassic(file, plan, ui, trace);
    return written ? GenerateOutcome::Written : GenerateOutcome::Failed;
}
