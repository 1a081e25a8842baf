// The C files under c/, as the build turns them into the generator's text
// (see c/c_text.cmake): what follows each file's marker line, its holes
// made placeholders for the expander.
#pragma once

// c/convolution.c: the kv_conv_* functions of the large prime radices, with
// @{real} for the scalar type and @{half} and @{sqrt3_4} for the literals
// 0.5 and sqrt(3)/2 of the file's precision.
extern const char kConvolutionText[];
