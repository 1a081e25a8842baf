#pragma once

#include "codegen/output/message_sink.h"
#include "codegen/output/replacement_file.h"
#include "codegen/output/source_writer.h"

// Closes the writer and, when any of its writes or the close failed, tells
// the user once: a truncated file must never pass for a good one.
// Returns true when everything reached the file.
bool closeAndReport(SourceWriter& writer, MessageSink& ui);

// Puts the written file in the output file's place and, when that fails,
// tells the user as of a failed write: the file was not written. Returns
// true when the file is in place.
bool commitAndReport(ReplacementFile& file, MessageSink& ui);
