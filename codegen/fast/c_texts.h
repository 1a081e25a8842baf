// The C files under c/, as the build turns them into the generator's text
// (see c/c_text.cmake): what follows each file's marker line, its holes
// made placeholders for the expander.
#pragma once

// The kv_conv_* functions of the large prime radices, in this order, with
// @{real} for the scalar type: c/conv_passes.c, the butterflies (also with
// @{quarter}, @{sqrt5_4}, @{sin5_1} and @{sin5_2} for radix 5),
// c/conv_cyclic.c, the cyclic convolution, c/conv_top.c, Bluestein's top
// passes (it and the butterflies also with @{half} and @{sqrt3_4} for the
// literals 0.5 and sqrt(3)/2 of the file's precision), c/conv_roots.c, the
// roots of unity, and c/convolution.c, the length-p transforms.
extern const char kConvPassesText[];
extern const char kConvCyclicText[];
extern const char kConvTopText[];
extern const char kConvRootsText[];
extern const char kConvolutionText[];
