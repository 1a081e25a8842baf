// What a fast-style file shows its callers: the type and the prototypes,
// written once into the file and once into its header FFT<N>.h, so that the
// two can never disagree.
#pragma once

#include <string>

#include "codegen/fast/fast_names.h"

// The type, guarded per precision, and the prototypes in the linkage the
// header's comment states; plain names, for the renaming pass.
std::string interfaceDeclarations(const FastNames& names);

// The text of FFT<N>.h for the file of the same length, precision and
// prefix: its comment, an include guard and interfaceDeclarations, renamed.
std::string headerFileText(const FastNames& names);
