// The fast style: a generated FFT<N>.cpp with the classic file's interface
// (the complex type, revolver, IFFT<N>, Real_FFT<N>, Complex_FFT<N>) and
// Real_IFFT<N>, the inverse of Real_FFT<N>, that runs close to a tuned
// library, keeps nothing N-sized on the stack, indexes with 32-bit long
// safely and shares a program with files of other lengths and, given a
// prefix, of the other precision; and its header.
#pragma once

#include <cstdint>
#include <string>

#include "codegen/fast/precision.h"
#include "codegen/output/source_writer.h"
#include "plan/fast_plan.h"

// Writes the whole file into an open writer; opens and closes nothing.
// The names carry the decimal length, plan.length, and prefix and an
// underscore before them unless prefix is empty (see FastNames).
void writeFastFile(SourceWriter& w, const FastPlan& plan, Precision precision, const std::string& prefix = "");

// Writes FFT<N>.h, the type and the prototypes of the file of that length,
// precision and prefix.
void writeFastHeader(SourceWriter& w, int32_t n, Precision precision, const std::string& prefix = "");
