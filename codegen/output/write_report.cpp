#include "codegen/output/write_report.h"

#include "codegen/output/write_messages.h"

bool closeAndReport(SourceWriter& writer, MessageSink& ui) {
    writer.close();
    if (writer.failed()) ui.showMessage(msg::kWriteFailed, "");
    return !writer.failed();
}

bool commitAndReport(ReplacementFile& file, MessageSink& ui) {
    if (file.commit()) return true;
    ui.showMessage(msg::kWriteFailed, "");
    return false;
}
