// The kv_conv_* functions of a fast-style file: the C files conv_passes.c,
// conv_cyclic.c, conv_top.c, conv_roots.c and convolution.c, filled in for
// the file's precision.
#include <string>

#include "codegen/fast/c_texts.h"
#include "codegen/fast/convolution.h"
#include "codegen/fast/fast_text.h"
#include "codegen/output/source_writer.h"

void writeConvolutionSupport(SourceWriter& w, Precision precision) {
    const FastText t(precision);
    TextValues values = t.scalars({"real", "half"});
    // The digits the C file gives, in both precisions. The constants meet
    // vectors too, and are cast as the C file casts them: where floating
    // constants have excess precision (32-bit x87, s390x floats), strict C
    // refuses a long double or double constant beside a vector of double
    // or float.
    const std::string cast = std::string("(") + t.real() + ")";
    values["half"] = "(" + cast + values["half"] + ")";
    values["sqrt3_4"] = "(" + cast + "0.86602540378443865" + t.suffix() + ")";
    // The radix-5 butterfly's constants, in the passes only.
    TextValues passes = values;
    passes["quarter"] = "(" + cast + "0.25" + t.suffix() + ")";
    passes["sqrt5_4"] = "(" + cast + "0.55901699437494742410" + t.suffix() + ")";
    passes["sin5_1"] = "(" + cast + "0.95105651629515357212" + t.suffix() + ")";
    passes["sin5_2"] = "(" + cast + "0.58778525229247312917" + t.suffix() + ")";
    w.writeText(expandTemplate("c/conv_passes.c", kConvPassesText, passes).c_str());
    const TextValues real = {{"real", values.at("real")}};
    w.writeText(expandTemplate("c/conv_cyclic.c", kConvCyclicText, real).c_str());
    w.writeText(expandTemplate("c/conv_top.c", kConvTopText, values).c_str());
    w.writeText(expandTemplate("c/conv_roots.c", kConvRootsText, real).c_str());
    w.writeText(expandTemplate("c/convolution.c", kConvolutionText, real).c_str());
}
