// Appends one of the three transform functions of the current plan.
#pragma once

#include "codegen/message_sink.h"
#include "plan/radix_plan.h"

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

// Opens the file for appending, writes the function and closes the file;
// true when all of it was written.
bool emitTransform(const char* name, TransformKind kind, const RadixPlan& plan, MessageSink& ui);
