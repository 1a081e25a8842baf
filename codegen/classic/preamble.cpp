#include "codegen/classic/preamble.h"

#include <string>

#include "codegen/output/write_messages.h"
#include "codegen/output/write_report.h"

int emitBufferSizeDefine(SourceWriter& writer, const RadixPlan& plan) {
    const std::string line = "#define BUFF_SIZE " + plan.lengthText + "\n\n";
    return writer.writeText(line.c_str());
}

bool emitPreamble(std::unique_ptr<SourceWriter> writer, const RadixPlan& plan, MessageSink& ui) {
    if (!writer) {
        ui.showMessage(msg::kPreambleOpenFailed, "");
        return false;
    }
    for (const auto& slot : headerLines) writer->writeTemplateLine(slot);
    emitBufferSizeDefine(*writer, plan);
    for (const auto& slot : complexStructLines) writer->writeTemplateLine(slot);
    for (const auto& slot : revolverLines) writer->writeTemplateLine(slot);
    return closeAndReport(*writer, ui);
}
