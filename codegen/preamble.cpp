#include "codegen/preamble.h"

#include <string>

#include "codegen/codegen_messages.h"
#include "codegen/write_report.h"

int emitBufferSizeDefine(SourceWriter& writer, const RadixPlan& plan) {
    const std::string line = "#define BUFF_SIZE " + plan.lengthText + "\n\n";
    return writer.writeText(line.c_str());
}

void emitPreamble(const char* name, const RadixPlan& plan, MessageSink& ui) {
    auto writer = SourceWriter::open(name, "w");
    if (!writer) {
        ui.showMessage(msg::kPreambleOpenFailed, "");
        return;
    }
    for (const auto& slot : headerLines) writer->writeTemplateLine(slot);
    emitBufferSizeDefine(*writer, plan);
    for (const auto& slot : complexStructLines) writer->writeTemplateLine(slot);
    for (const auto& slot : revolverLines) writer->writeTemplateLine(slot);
    closeAndReport(*writer, ui);
}
