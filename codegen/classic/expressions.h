// Builders of the generated text that changes with the plan: declaration
// lines, loop headers, a stage's operand line and its twiddle index.
#pragma once

#include <cstdint>
#include <string>

#include "plan/radix_plan.h"

// "\tlong k0, k1, ...;\n" over the first m names of a LoopNames table.
std::string buildNameList(const char* const* names, int m);

// depth TABs, then "for(v=0; v<bound; v++) {\n".
std::string buildForHeader(const char* v, int32_t bound, int depth);

// The pointer to stage s's input element, e.g. "pTmp1=buffer1+4*k0+2*j1+k;\n".
std::string buildOperandLine(const RadixPlan& plan, int s, int m);

// The twiddle index of stage s, e.g. "((3*k1+k0)*j1*2)".
std::string buildTwiddleIndex(const RadixPlan& plan, int s, int m);
