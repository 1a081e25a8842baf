// The fast style: a generated FFT<N>.cpp with the classic file's interface
// (the complex type, revolver, IFFT<N>, Real_FFT<N>, Complex_FFT<N>) and
// Real_IFFT<N>, the inverse of Real_FFT<N>, that runs close to a tuned
// library, keeps nothing N-sized on the stack and indexes with 32-bit long
// safely.
#pragma once

#include "codegen/fast/precision.h"
#include "codegen/output/source_writer.h"
#include "plan/fast_plan.h"

// Writes the whole file into an open writer; opens and closes nothing.
// The names carry the decimal length, plan.length.
void writeFastFile(SourceWriter& w, const FastPlan& plan, Precision precision);
