#include "command/output_sequence.h"

#include "command/messages.h"
#include "codegen/preamble.h"
#include "codegen/source_writer.h"
#include "codegen/transform.h"

std::string outputFileName(int32_t n) { return "FFT" + std::to_string(n) + ".cpp"; }

bool fileExists(const char* name) { return SourceWriter::open(name, "r+") != nullptr; }

bool runOutputSequence(const RadixPlan& plan, UserDialogs& ui, [[maybe_unused]] FileFormat format) {
    const std::string name = outputFileName(plan.length);
    const std::string confirm = msg::kConfirmHead + name + msg::kConfirmTail;
    if (!ui.askYesNo(confirm.c_str(), msg::kConfirmCaption)) return false;
    if (fileExists(name.c_str())) {
        const std::string overwrite = name + msg::kOverwriteTail;
        if (!ui.askYesNo(overwrite.c_str(), "")) return false;
    }
    bool written = emitPreamble(name.c_str(), plan, ui);
    for (TransformKind kind : {TransformKind::Inverse, TransformKind::Real, TransformKind::Complex})
        written = emitTransform(name.c_str(), kind, plan, ui) && written;
    return written;
}
