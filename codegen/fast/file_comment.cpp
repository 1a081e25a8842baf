// The comment at the head of a fast-style file: what its functions compute,
// the plan, and the memory and heap a call uses.
#include <string>
#include <vector>

#include "codegen/fast/convolution.h"
#include "codegen/fast/fast_names.h"
#include "codegen/fast/fast_parts.h"

namespace {

// How the file lives beside others and beside the standard's complex
// types: what a caller needs before the first include.
std::string useComment(const FastNames& names, const std::string& len, bool convolution, bool workOnly) {
    const std::string cpx = names("complex"), rev = names("revolver");
    const char* other = names.precision() == Precision::Single ? "double" : "single";
    std::string s = "\n   Without a heap: #define FFT_MALLOC(bytes) 0 and #define FFT_FREE(ptr) ((void)(ptr))\n"
                    "   before this file's code; in-place calls and " + names("Real_IFFT" + len) + " then give NaN";
    s += workOnly ? ", and so\n   does every other call (see above).\n"
                  : convolution ? " and the convolutions\n   are computed directly.\n" : ".\n";
    s += "\n   Use: compile this file as C or C++ and include FFT" + len +
         ".h where its functions are\n   called, or include this file in one translation unit. Compiled as C its\n"
         "   functions have C linkage; compiled as C++, C++ linkage, unless FFT_C_LINKAGE\n"
         "   is defined, which gives them C linkage there too (FFT" + len +
         ".h follows the same\n   macro: define it alike on both sides).\n";
    s += "   Files of other lengths of this precision" +
         std::string(names.prefixed() ? " and prefix" : "") + " share " + cpx + " and " + rev +
         ":\n   any number of them may be included in one unit or compiled in several and\n"
         "   linked together (" + rev + " is defined once per unit and weak). The internal\n"
         "   names carry " + names.internalLower() + " and " + names.internalUpper() +
         " (kv_ and KV_ in the comments below). A\n   " + other + "-precision file " +
         (names.prefixed() ? "needs another prefix.\n" : "needs a prefix (kalvorin --prefix).\n");
    if (!names.prefixed())
        s += "   The name complex: C's <complex.h> makes it a macro; #undef complex after\n"
             "   <complex.h> and before this file (C's complex numbers are then written\n"
             "   _Complex). In C++, include this file before any using namespace std and\n"
             "   write ::complex for this type after it. Or generate the file with\n"
             "   kalvorin --prefix=NAME, which names everything NAME_complex, NAME_revolver,\n"
             "   NAME_Complex_FFT" + len + " and so on.\n";
    return s;
}

}  // namespace

std::string headerComment(const FastPlan& full, const FastPlan* half, const FastNames& names) {
    const int32_t n = names.length();
    const std::string len = std::to_string(n);
    const Precision precision = names.precision();
    const std::string rev = names("revolver"), cfft = names("Complex_FFT" + len), rfft = names("Real_FFT" + len),
                      ifft = names("IFFT" + len), rifft = names("Real_IFFT" + len);
    auto radices = [](const FastPlan& p) {
        std::string s = std::to_string(p.length) + " =";
        for (size_t i = 0; i < p.radix.size(); ++i) s += (i ? " x " : " ") + std::to_string(p.radix[i]);
        return s;
    };
    const int entry = precision == Precision::Single ? 8 : 16;
    const long long tableBytes = (long long)n * entry;
    std::string s = "/* FFT" + len + ".cpp: discrete Fourier transforms of length " + std::to_string(n) +
                    ", written by kalvorin\n   (fast style, " +
                    (precision == Precision::Single ? "single precision: float" : "double precision") + ").\n\n";
    s += "   " + rev + "(" + std::to_string(n) + ", pSinCosTable) fills the table that every transform reads:\n";
    s += "   exp(-2 pi i k / N) for k < N, " + std::to_string(n) + " entries (" + std::to_string(tableBytes) +
         " bytes).\n";
    s += "   " + cfft + " and " + rfft + " compute X[k] = sum over n of x[n] exp(-2 pi i n k / N);\n";
    s += "   " + rfft + " takes N reals and gives all N outputs. " + ifft +
         " computes the inverse,\n   divided by N. " + rifft + ", the inverse of " + rfft +
         ", reads entries 0 to " + std::to_string(n / 2) + "\n   of a spectrum laid out as " + rfft +
         " writes it, taking the imaginary part" +
         (n % 2 == 0 ? "s of\n   entries 0 and " + std::to_string(n / 2) + " as zero" : " of\n   entry 0 as zero") +
         ", and writes the N real samples, divided by N.\n   No transform modifies its input.\n\n";
    s += "   Plan: " + radices(full) + ", decimation in time. The radices are listed in the\n";
    s += "   order their passes run; the first pass reads the input at a stride, in\n";
    s += "   digit-reversed order, and writes the output; the others work in place on it.\n";
    if (full.blockedStages > 0)
        s += "   The first " + std::to_string(full.blockedStages) + " passes run block by block, " +
             std::to_string(full.blockLength) + " entries at a time.\n";
    if (half)
        s += "   " + rfft + " transforms the N/2 input pairs as complex numbers (" + radices(*half) +
             ")\n   and splits the result into the N outputs; " + rifft +
             " undoes the split and runs the\n   same transform on the result read backwards.\n";
    else
        s += "   " + rfft + " uses the same plan with a first pass that reads reals and\n"
             "   passes that compute only the butterflies up to the middle of each block\n"
             "   (the others give the conjugates); so does " + rifft + ", on the reals\n"
             "   Re X[k] + Im X[k], whose transform R gives the samples as Re R + Im R.\n";
    const int32_t leaf = full.radix[0];
    const std::vector<int32_t> convolved = convolutionRadices(full);
    const bool convolution = !convolved.empty();
    if (convolution) {
        // The radices by name, each prime once; the direct cost counts every pass.
        int passes = 0, directCost = 0;
        for (int32_t p : full.radix)
            if (usesConvolution(p)) ++passes, directCost += p;
        std::string primes;
        for (size_t i = 0; i < convolved.size(); ++i)
            primes += (i == 0 ? "" : i + 1 == convolved.size() ? " and " : ", ") + std::to_string(convolved[i]);
        s += "   The prime ";
        if (convolved.size() > 1)
            s += "radices " + primes + " run as convolutions";
        else if (passes == 1)
            s += "radix " + primes + " runs as a convolution";
        else
            s += "radix " + primes +
                 (passes == 2 ? ", in both of its passes," : ", in all " + std::to_string(passes) + " of its passes,") +
                 " runs as a convolution";
        s += " (Bluestein's or Rader's algorithm) in work memory:\n"
             "   every call of " + cfft + ", " + ifft + ", " + rfft + " and " + rifft + " takes " +
             std::to_string(planWorkBytes(full, precision)) +
             " bytes\n   from FFT_MALLOC and gives them back with FFT_FREE before it returns. If\n"
             "   FFT_MALLOC returns a null pointer, the call ";
        if (needsWork(full))
            s += "fills pDestination with NaN instead: a pass\n   of a prime above " +
                 std::to_string(kScratchRadixLimit) + " has no other way than the convolution.\n";
        else
            s += "computes " + std::string(convolved.size() > 1 ? "them" : "the radix") +
                 " directly\n   instead: the same result, at about N x " + std::to_string(directCost) +
                 " real multiply-adds.\n";
    }
    else if (leaf > kScratchRadixLimit)
        s += "   The prime radix " + std::to_string(leaf) + " is computed directly, at about N x " +
             std::to_string(leaf) + " real multiply-adds.\n";

    bool rootLoop = false;
    for (size_t s = 0; s < full.radix.size(); ++s)
        rootLoop |= !hasOwnButterfly(full.radix[s]) && full.radix[s] <= kScratchRadixLimit;
    if (half)
        for (size_t s = 0; s < half->radix.size(); ++s)
            rootLoop |= !hasOwnButterfly(half->radix[s]) && half->radix[s] <= kScratchRadixLimit;
    s += convolution ? "\n   Memory: apart from the work above and below, no work arrays and no static\n   data; "
                     : "\n   Memory: apart from the work below, no work arrays and no static data;\n   ";
    s += rootLoop ? "a call keeps about " + std::to_string(500 * entry / 1024 + 1) +
                        " KiB of work values\n   on the stack (the butterfly of an odd radix)."
                  : "a call keeps well under 1 KiB on the stack.";
    s += "\n   " + cfft + " and " + ifft + " may be called in place (pDestination == pSource):\n";
    s += "   such a call takes one copy of the " + std::to_string(n) + " inputs (" + std::to_string(tableBytes) +
         " bytes) from FFT_MALLOC and gives\n   it back with FFT_FREE. If FFT_MALLOC returns a null pointer, the call"
         " fills\n   pDestination with NaN instead. " + rifft + " takes work for the " +
         std::to_string(half ? n / 2 : n) + " entries its\n   transform " + (half ? "reads (" : "writes (") +
         std::to_string(half ? tableBytes / 2 : tableBytes) + " bytes) from FFT_MALLOC" +
         (convolution ? ", besides the work above,\n   " : "\n   ") +
         "and gives it back with FFT_FREE before it returns; if FFT_MALLOC returns a null\n"
         "   pointer, it fills pDestination with NaN instead. " +
         (convolution ? std::string("Apart from these three, no call uses\n   the heap.")
                      : std::string("No other call uses the\n   heap.")) +
         " Define FFT_MALLOC and FFT_FREE before this file's code to use another allocator.\n";
    return s + useComment(names, len, convolution, needsWork(full)) + "*/\n";
}
