// The start of the generated file: includes, pi, the complex-multiply
// macros, BUFF_SIZE, the complex struct and the twiddle-table function.
#pragma once

#include "codegen/message_sink.h"
#include "codegen/source_writer.h"
#include "plan/radix_plan.h"

// Fixed-width template tables; an empty slot writes nothing.
constexpr int kHeaderSlots = 17;
constexpr int kComplexStructSlots = 4;
constexpr int kRevolverSlots = 8;
extern const char headerLines[kHeaderSlots][200];
extern const char complexStructLines[kComplexStructSlots][200];
extern const char revolverLines[kRevolverSlots][60];

int emitBufferSizeDefine(SourceWriter& writer, const RadixPlan& plan);

// Creates or empties the named file and writes the preamble into it; true
// when all of it was written.
bool emitPreamble(const char* name, const RadixPlan& plan, MessageSink& ui);
