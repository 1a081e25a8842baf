#pragma once

#include "codegen/message_sink.h"
#include "codegen/source_writer.h"

// Closes the writer and, when any of its writes or the close failed, tells
// the user once: a truncated file must never pass for a good one.
// Returns true when everything reached the file.
bool closeAndReport(SourceWriter& writer, MessageSink& ui);
