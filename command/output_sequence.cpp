#include "command/output_sequence.h"

#include <memory>
#include <vector>

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
std::string headerFileName(int32_t n) { return "FFT" + std::to_string(n) + ".h"; }

bool fileExists(const char* name) {
    return fileKind(name) == FileKind::Regular && SourceWriter::open(name, "r+") != nullptr;
}

namespace {

// A fast file and its header come from one writer each. Opening one fails
// the way the preamble's open fails, with the same message. Both are
// written in full before either takes its name: a failed write leaves both
// old files as they were. The .cpp is put in place first.
bool writeFast(const std::vector<std::string>& names, const RadixPlan& plan, const FileFormat& format,
               UserDialogs& ui) {
    const Precision precision = format.precision == FloatType::Single ? Precision::Single : Precision::Double;
    ReplacementFile source(names[0].c_str());
    std::unique_ptr<ReplacementFile> header;
    if (names.size() > 1) header = std::make_unique<ReplacementFile>(names[1].c_str());
    auto writer = source.openWriter();
    if (!writer) {
        ui.showMessage(msg::kPreambleOpenFailed, "");
        return false;
    }
    const std::vector<int32_t> primes(plan.factors.begin(), plan.factors.begin() + plan.stageCount);
    writeFastFile(*writer, makeFastPlan(primes), precision, format.prefix);
    if (!closeAndReport(*writer, ui)) return false;
    if (header) {
        auto headerWriter = header->openWriter();
        if (!headerWriter) {
            ui.showMessage(msg::kPreambleOpenFailed, "");
            return false;
        }
        writeFastHeader(*headerWriter, plan.length, precision, format.prefix);
        if (!closeAndReport(*headerWriter, ui)) return false;
    }
    return commitAndReport(source, ui) && (!header || commitAndReport(*header, ui));
}

bool writeClassic(ReplacementFile& file, const RadixPlan& plan, UserDialogs& ui, const TraceSink& trace) {
    bool written = emitPreamble(file.openWriter(), plan, ui);
    for (TransformKind kind : {TransformKind::Inverse, TransformKind::Real, TransformKind::Complex})
        written = emitTransform(file.openWriter(), kind, plan, ui, trace) && written;
    return written && commitAndReport(file, ui);
}

}  // namespace

GenerateOutcome runOutputSequence(const RadixPlan& plan, UserDialogs& ui, FileFormat format, const TraceSink& trace) {
    // A fast file's header goes with it: one question names both, and each
    // name is checked and, when taken, asked about on its own.
    std::vector<std::string> names = {outputFileName(plan.length)};
    if (format.style == OutputStyle::Fast && format.header) names.push_back(headerFileName(plan.length));
    const std::string listed = names.size() > 1 ? names[0] + msg::kConfirmAnd + names[1] : names[0];
    const std::string confirm = msg::kConfirmHead + listed + msg::kConfirmTail;
    if (!ui.askYesNo(confirm.c_str(), msg::kConfirmCaption)) return GenerateOutcome::Declined;
    // A directory in the name's place is left to fail as every unopenable
    // file does; anything else that is no regular file is refused here,
    // before a question whose Yes could do nothing.
    for (const std::string& name : names)
        if (fileKind(name.c_str()) == FileKind::Special) {
            const std::string refusal = name + msg::kNotRegularFileTail;
            ui.showMessage(refusal.c_str(), "");
            return GenerateOutcome::RefusedSpecialFile;
        }
    for (const std::string& name : names)
        if (fileExists(name.c_str())) {
            const std::string overwrite = name + msg::kOverwriteTail;
            if (!ui.askYesNo(overwrite.c_str(), "")) return GenerateOutcome::Declined;
        }
    if (format.style == OutputStyle::Fast)
        return writeFast(names, plan, format, ui) ? GenerateOutcome::Written : GenerateOutcome::Failed;
    ReplacementFile file(names[0].c_str());
    return writeClassic(file, plan, ui, trace) ? GenerateOutcome::Written : GenerateOutcome::Failed;
}
