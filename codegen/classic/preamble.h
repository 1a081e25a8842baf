// The start of the generated file: includes, pi, the complex-multiply
// macros, BUFF_SIZE, the complex struct and the twiddle-table function.
#pragma once

#include <memory>

#include "codegen/output/message_sink.h"
#include "codegen/output/source_writer.h"
#include "plan/radix_plan.h"

// Fixed-width template tables; an empty slot writes nothing.
constexpr int kHeaderSlots = 17;
constexpr int kComplexStructSlots = 4;
constexpr int kRevolverSlots = 8;
extern const char headerLines[kHeaderSlots][200];
extern const char complexStructLines[kComplexStructSlots][200];
extern const char revolverLines[kRevolverSlots][60];

int emitBufferSizeDefine(SourceWriter& writer, const RadixPlan& plan);

// Writes the preamble at the start of the file and closes the writer; true
// when all of it was written. A null writer is a file that could not be
// opened, and is reported as such.
bool emitPreamble(std::unique_ptr<SourceWriter> writer, const RadixPlan& plan, MessageSink& ui);
