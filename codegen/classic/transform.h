// Appends one of the three transform functions of the current plan.
#pragma once

#include <memory>

#include "codegen/output/message_sink.h"
#include "codegen/output/source_writer.h"
#include "plan/radix_plan.h"
#include "plan/stage_wraps.h"

enum class TransformKind { Inverse, Real, Complex };

// The texts that differ between the three generated functions.
struct TransformTemplate {
    const char* namePrefix;     // "void IFFT"
    const char* parameterList;  // "(complex *pDestination, ...) {\n"
    const char* declarations[6];
    // The right-hand sides of the accumulate pair after "<target>[i]": the
    // first stage reads the input through b, every later stage through pTmp1.
    const char* firstRe;
    const char* firstIm;
    const char* laterRe;
    const char* laterIm;
    const char* closing[4];  // the normalisation loop of the inverse; null elsewhere
};

const TransformTemplate& transformTemplate(TransformKind kind);

// Writes the function where the writer stands and closes the writer; true
// when all of it was written. A null writer is a file that could not be
// opened, and is reported as such. The wrap tests that decide the index
// lines write their trace to `trace`, in the order they are asked.
bool emitTransform(std::unique_ptr<SourceWriter> writer, TransformKind kind, const RadixPlan& plan,
                   MessageSink& ui, const TraceSink& trace);
