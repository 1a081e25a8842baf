// The type and prototypes of a fast-style file, and its header.
#include "codegen/fast/fast_interface.h"

#include "codegen/fast/text_template.h"

namespace {

// complex is a macro of C's <complex.h>; a file included after it would
// define a type named _Complex. C lets a program #undef the macro, which
// leaves C's own complex numbers to be written _Complex.
const char* const kMacroCheck = R"(#ifdef complex
#error "complex is a macro here (from <complex.h>?): #undef complex before including this file (C's own complex numbers are then written _Complex), or generate the file with --prefix"
#endif
)";

// The type is the same for every length of a precision and prefix, and
// defined once per translation unit; a file of the other precision would
// need the same name for another type.
const char* const kDeclarations = R"(@{macro_check}#ifndef KALVORIN_COMPLEX_@{precision}
#ifdef KALVORIN_COMPLEX_@{other}
#error "@{mixed}"
#endif
#define KALVORIN_COMPLEX_@{precision}
typedef struct { @{real} re, im; } complex;
#endif

#if defined(__cplusplus) && defined(FFT_C_LINKAGE)
extern "C" {
#endif
void revolver(long N, complex *pSinCosTable);
void IFFT@{n}(complex *pDestination, const complex *pSource, const complex *pSinCosTable);
void Real_FFT@{n}(complex *pDestination, const @{real} *pSource, const complex *pSinCosTable);
void Real_IFFT@{n}(@{real} *pDestination, const complex *pSource, const complex *pSinCosTable);
void Complex_FFT@{n}(complex *pDestination, const complex *pSource, const complex *pSinCosTable);
#if defined(__cplusplus) && defined(FFT_C_LINKAGE)
}
#endif
)";

const char* const kHeader = R"(/* FFT@{n}.h: the declarations of FFT@{n}.cpp (fast style, @{precision_text}),
   written by kalvorin, for C and C++. FFT@{n}.cpp explains the transforms;
   in short:

   @{revolver}(@{n}, pSinCosTable) fills the table of @{n} entries that every
   transform reads (@{table_bytes} bytes); @{complex_fft} and @{real_fft} compute
   X[k] = sum over n of x[n] exp(-2 pi i n k / @{n}) for all @{n} outputs (not
   scaled); @{ifft} computes the inverse, divided by @{n}; @{real_ifft}, the
   inverse of @{real_fft}, reads outputs 0 to @{half} of @{real_fft} and writes @{n}
   reals, divided by @{n}. No transform modifies its input; @{complex_fft}
   and @{ifft} may be called in place.

   Linkage: compiled as C, FFT@{n}.cpp gives its functions C linkage; compiled
   as C++, C++ linkage, unless FFT_C_LINKAGE is defined there, which gives
   them C linkage. A unit that includes this header must agree: a C++ unit
   that calls an FFT@{n}.cpp compiled as C (or as C++ with FFT_C_LINKAGE)
   defines FFT_C_LINKAGE before including it. */
#ifndef KALVORIN_FFT@{n}_@{precision}_H
#define KALVORIN_FFT@{n}_@{precision}_H

@{declarations}
#endif
)";

}  // namespace

std::string interfaceDeclarations(const FastNames& names) {
    const bool single = names.precision() == Precision::Single;
    // What the file of the other precision made of the name.
    const std::string other = std::string(" is already the ") + (single ? "double" : "float") + " type of a " +
                              (single ? "double" : "single") + "-precision file";
    const std::string mixed =
        names.prefixed()
            ? names("complex") + other + " with the prefix " + names.prefix() +
                  ": give the files of the two precisions different prefixes"
            : "complex" + other + ": files of both precisions in one program need a different --prefix for each";
    return expandTemplate("the type and the prototypes", kDeclarations,
                          {{"macro_check", names.prefixed() ? "" : kMacroCheck},
                           {"precision", names.precisionWord()},
                           {"other", single ? "DOUBLE" : "SINGLE"},
                           {"mixed", mixed},
                           {"real", single ? "float" : "double"},
                           {"n", std::to_string(names.length())}});
}

std::string headerFileText(const FastNames& names) {
    const bool single = names.precision() == Precision::Single;
    const std::string n = std::to_string(names.length());
    const std::string text = expandTemplate(
        "FFT<N>.h", kHeader,
        {{"n", n},
         {"precision_text", single ? "single precision: float" : "double precision"},
         {"precision", names.precisionWord()},
         {"revolver", names("revolver")},
         {"table_bytes", std::to_string(int64_t(names.length()) * (single ? 8 : 16))},
         {"complex_fft", names("Complex_FFT" + n)},
         {"real_fft", names("Real_FFT" + n)},
         {"ifft", names("IFFT" + n)},
         {"real_ifft", names("Real_IFFT" + n)},
         {"half", std::to_string(names.length() / 2)},
         {"declarations", interfaceDeclarations(names)}});
    return renameIdentifiers(text, names.rules());
}
