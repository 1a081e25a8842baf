// The fast style: a generated FFT<N>.cpp with the classic file's interface
// (the complex type, revolver, IFFT<N>, Real_FFT<N>, Complex_FFT<N>) that
// runs close to a tuned library, keeps nothing N-sized on the stack and
// indexes with 32-bit long safely.
#pragma once

#include "codegen/output_style.h"
#include "codegen/source_writer.h"
#include "plan/radix_plan.h"

// Writes the whole file into an open writer; opens and closes nothing.
void writeFastFile(SourceWriter& w, const RadixPlan& plan, Precision precision);
