// The renaming pass over generated C: what it renames, what it must leave
// alone, and the names of a fast-style file with and without a prefix.
#include <gtest/gtest.h>

#include "codegen/fast/fast_names.h"
#include "codegen/fast/identifier_renaming.h"

namespace {

struct Case {
    const char* what;
    const char* c;
    const char* expected;
};

// complex -> p_complex, kv_ -> p_kv8_, KV_ -> P_KV8_, KV_KEEP kept.
const RenamingRules kRules = {{"KV_KEEP"},
                              {{"complex", "p_complex"}, {"IFFT8", "p_IFFT8"}},
                              {{"kv_", "p_kv8_"}, {"KV_", "P_KV8_"}}};

const Case kCases[] = {
    {"names and prefixes", "static complex kv_dft(complex *v);", "static p_complex p_kv8_dft(p_complex *v);"},
    {"whole words only", "complexity xcomplex complex_ my_kv_x kvx KVX IFFT80",
     "complexity xcomplex complex_ my_kv_x kvx KVX IFFT80"},
    {"renamed once", "kv_kv_x", "p_kv8_kv_x"},
    {"kept", "#ifdef KV_KEEP\n#define KV_LANES 4\n#endif", "#ifdef KV_KEEP\n#define P_KV8_LANES 4\n#endif"},
    {"members and casts", "x.complex->kv_a = (complex *)y;", "x.p_complex->p_kv8_a = (p_complex *)y;"},
    {"block comment", "/* complex kv_x\n   IFFT8 */ complex", "/* complex kv_x\n   IFFT8 */ p_complex"},
    {"line comment", "a // complex kv_x\ncomplex", "a // complex kv_x\np_complex"},
    {"strings", "f(\"complex \\\" kv_x\", 'c', '\\'', complex)", "f(\"complex \\\" kv_x\", 'c', '\\'', p_complex)"},
    {"asm text", "__asm__(\".section .text$complex\"); complex", "__asm__(\".section .text$complex\"); p_complex"},
    {"numbers", "1e-5f + 0x1p+3 + 12L + .5e+kv_x + 8.0fkv_y - kv_z",
     "1e-5f + 0x1p+3 + 12L + .5e+kv_x + 8.0fkv_y - p_kv8_z"},
    {"include", "#include <complex.h>\n#include \"kv_x.h\"\ncomplex", "#include <complex.h>\n#include \"kv_x.h\"\np_complex"},
    {"error text", "#error \"complex\" complex kv_x\n  #  warning complex\ncomplex",
     "#error \"complex\" complex kv_x\n  #  warning complex\np_complex"},
    {"directive after a comment", "/* c */ #error complex\ncomplex", "/* c */ #error complex\np_complex"},
    {"other directives", "#if defined(KV_X) && KV_Y\n#pragma omp kv_z\n#endif",
     "#if defined(P_KV8_X) && P_KV8_Y\n#pragma omp p_kv8_z\n#endif"},
    {"a # inside a line", "a # complex", "a # p_complex"},
    {"continued error line", "#error complex \\\ncomplex\ncomplex", "#error complex \\\ncomplex\np_complex"},
    {"unterminated string", "\"complex\ncomplex", "\"complex\np_complex"},
    {"unterminated comment", "complex /* complex", "p_complex /* complex"},
};

TEST(IdentifierRenaming, RenamesIdentifiersOnlyWhereTheCompilerSeesThem) {
    for (const Case& c : kCases) EXPECT_EQ(renameIdentifiers(c.c, kRules), c.expected) << c.what;
}

TEST(IdentifierRenaming, FastFileNamesPerLengthAndPrefix) {
    struct NameCase {
        int32_t n;
        const char* prefix;
        const char* plain;
        const char* expected;
    };
    const NameCase cases[] = {
        {1024, "", "complex revolver IFFT1024 Real_FFT1024 Complex_FFT1024 Real_IFFT1024",
         "complex revolver IFFT1024 Real_FFT1024 Complex_FFT1024 Real_IFFT1024"},
        {1024, "", "kv_dft4 KV_LANES KV_PORTABLE KALVORIN_COMPLEX_DOUBLE FFT_MALLOC FFT_C_LINKAGE",
         "kv1024_dft4 KV1024_LANES KV_PORTABLE KALVORIN_COMPLEX_DOUBLE FFT_MALLOC FFT_C_LINKAGE"},
        {60, "dsp", "complex revolver IFFT60 Real_FFT60 Complex_FFT60 Real_IFFT60 IFFT1024",
         "dsp_complex dsp_revolver dsp_IFFT60 dsp_Real_FFT60 dsp_Complex_FFT60 dsp_Real_IFFT60 IFFT1024"},
        {60, "dsp", "kv_dft4 KV_LANES KV_PORTABLE KALVORIN_COMPLEX_DOUBLE FFT_MALLOC FFT_FREE",
         "dsp_kv60_dft4 dsp_KV60_LANES KV_PORTABLE dsp_KALVORIN_COMPLEX_DOUBLE FFT_MALLOC FFT_FREE"},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(FastNames(c.n, Precision::Double, c.prefix)(c.plain), c.expected) << c.prefix << " " << c.plain;
}

TEST(IdentifierRenaming, PrefixesAreCIdentifiers) {
    for (const char* good : {"a", "_x", "dsp2", "A_b_9"}) EXPECT_TRUE(isCIdentifier(good)) << good;
    for (const char* bad : {"", "2x", "a-b", "a b", "a.b", "\xc3\xa9"}) EXPECT_FALSE(isCIdentifier(bad)) << bad;
}

}  // namespace
