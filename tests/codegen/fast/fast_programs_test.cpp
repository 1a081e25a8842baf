// Fast-style files in the programs users build: several lengths in one
// translation unit and in several, both precisions under prefixes, beside
// C's <complex.h> and C++'s std::complex, through the header from C++ with
// the file compiled as C. Each program is compiled under -Werror, linked and
// run with gcc and clang, and linked with the Windows cross compilers where
// the sharing of revolver between units is done differently.
#include <gtest/gtest.h>

#include <filesystem>

#include "codegen/fast/fast_file.h"
#include "plan/fast_plan.h"
#include "process_runner.h"
#include "test_support.h"

namespace {

const Precision D = Precision::Double, S = Precision::Single;

struct Generated {
    int32_t n;
    Precision precision;
    const char* prefix;
};

// Where a generated file and its header go: d/, s/, or the prefix's folder.
std::string folderOf(const Generated& g) { return *g.prefix ? g.prefix : g.precision == D ? "d" : "s"; }

void writeGenerated(const Generated& g) {
    std::filesystem::create_directories(folderOf(g));
    const std::string base = folderOf(g) + "/FFT" + std::to_string(g.n);
    const auto cpp = SourceWriter::open((base + ".cpp").c_str(), "w");
    const auto h = SourceWriter::open((base + ".h").c_str(), "w");
    ASSERT_TRUE(cpp && h);
    writeFastFile(*cpp, makeFastPlan(primeFactorsOf(g.n)), g.precision, g.prefix);
    writeFastHeader(*h, g.n, g.precision, g.prefix);
    EXPECT_EQ(cpp->close(), 0);
    EXPECT_EQ(h->close(), 0);
}

// A unit of the program: a generated file, or main.c / main.cpp, which is
// kPrelude and the row's text.
struct Unit {
    std::string source;
    bool cxx;
    const char* flags;
};

// The transform of a unit impulse at 1 is the table itself; Real_IFFT
// gives back what Real_FFT was given.
const char* const kPrelude = R"(#include <math.h>
#include <stdio.h>
#define CHECK(cplx, rev, fft, n) do { \
	static cplx t[n], x[n], y[n]; \
	double e = 0; long k; \
	rev(n, t); x[1].re = 1; fft(y, x, t); \
	for (k = 0; k < n; k++) e += fabs(y[k].re - t[k].re) + fabs(y[k].im - t[k].im); \
	printf("%s %s\n", #fft, e < 1e-3 ? "ok" : "wrong"); } while (0)
#define ROUND_TRIP(cplx, real, rev, fft, ifft, n) do { \
	static cplx t[n], y[n]; static real x[n], back[n]; \
	double e = 0; long k; \
	for (k = 0; k < n; k++) x[k] = (real)(k % 7); \
	rev(n, t); fft(y, x, t); ifft(back, y, t); \
	for (k = 0; k < n; k++) e += fabs(back[k] - x[k]); \
	printf("%s %s\n", #ifft, e < 1e-3 ? "ok" : "wrong"); } while (0)
)";

struct ProgramCase {
    const char* what;
    std::vector<Generated> files;
    std::string main;
    std::vector<Unit> units;  // main among them as "main"
    const char* expected;     // the output, or what the compiler's error says
    bool fails;
    bool windows;  // also linked by the Windows cross compilers
};

const char* const kTwoLengths = R"(int main(void) {
	CHECK(complex, revolver, Complex_FFT12, 12);
	CHECK(complex, revolver, Complex_FFT60, 60);
	ROUND_TRIP(complex, double, revolver, Real_FFT60, Real_IFFT60, 60);
	return 0;
}
)";
const char* const kTwoLengthsOutput = "Complex_FFT12 ok\nComplex_FFT60 ok\nReal_IFFT60 ok\n";

const char* const kPrefixed = R"(int main(void) {
	CHECK(dp_complex, dp_revolver, dp_Complex_FFT12, 12);
	CHECK(sp_complex, sp_revolver, sp_Complex_FFT12, 12);
	CHECK(sp_complex, sp_revolver, sp_Complex_FFT60, 60);
	ROUND_TRIP(sp_complex, float, sp_revolver, sp_Real_FFT60, sp_Real_IFFT60, 60);
	return 0;
}
)";
const char* const kPrefixedOutput =
    "dp_Complex_FFT12 ok\nsp_Complex_FFT12 ok\nsp_Complex_FFT60 ok\nsp_Real_IFFT60 ok\n";

const std::vector<Generated> kPlain = {{12, D, ""}, {60, D, ""}};
const std::vector<Generated> kBoth = {{12, D, "dp"}, {12, S, "sp"}, {60, S, "sp"}};

const ProgramCase kCases[] = {
    {"two lengths in one C unit", kPlain,
     std::string("#include \"d/FFT12.cpp\"\n#include \"d/FFT60.cpp\"\n") + kTwoLengths, {{"main", false, ""}},
     kTwoLengthsOutput, false, false},
    {"two lengths in one C++ unit", kPlain,
     std::string("#include \"d/FFT12.cpp\"\n#include \"d/FFT60.cpp\"\n") + kTwoLengths, {{"main", true, ""}},
     kTwoLengthsOutput, false, false},
    {"two lengths in C units, called through the headers", kPlain,
     std::string("#include \"d/FFT12.h\"\n#include \"d/FFT60.h\"\n#include \"d/FFT12.h\"\n") + kTwoLengths,
     {{"d/FFT12.cpp", false, ""}, {"d/FFT60.cpp", false, ""}, {"main", false, ""}}, kTwoLengthsOutput, false, true},
    {"two lengths in C++ units, called through the headers", kPlain,
     std::string("#include \"d/FFT12.h\"\n#include \"d/FFT60.h\"\n") + kTwoLengths,
     {{"d/FFT12.cpp", true, ""}, {"d/FFT60.cpp", true, ""}, {"main", true, ""}}, kTwoLengthsOutput, false, true},
    {"a C++ unit calls files compiled as C and with C linkage as C++", kPlain,
     std::string("#define FFT_C_LINKAGE\n#include \"d/FFT12.h\"\n#include \"d/FFT60.h\"\n") + kTwoLengths,
     {{"d/FFT12.cpp", false, ""}, {"d/FFT60.cpp", true, "-DFFT_C_LINKAGE"}, {"main", true, ""}}, kTwoLengthsOutput,
     false, true},
    {"both precisions with prefixes in one C unit after <complex.h>", kBoth,
     std::string("#include <complex.h>\n#include \"dp/FFT12.cpp\"\n#include \"sp/FFT12.cpp\"\n"
                 "#include \"sp/FFT60.cpp\"\n") +
         kPrefixed,
     {{"main", false, ""}}, kPrefixedOutput, false, false},
    {"both precisions with prefixes in C++ units after <complex> and using namespace std", kBoth,
     std::string("#include <complex>\nusing namespace std;\n#include \"dp/FFT12.h\"\n#include \"sp/FFT12.h\"\n"
                 "#include \"sp/FFT60.cpp\"\n") +
         kPrefixed,
     {{"dp/FFT12.cpp", true, "-DFFT_C_LINKAGE"}, {"sp/FFT12.cpp", false, ""}, {"main", true, "-DFFT_C_LINKAGE"}},
     kPrefixedOutput, false, true},
    // The ways the file's comment gives for the name complex.
    {"after <complex.h> and #undef complex, C's complex numbers written _Complex", kPlain,
     R"(#include <complex.h>
#undef complex
#include "d/FFT12.cpp"
int main(void) {
	double _Complex z = 1.0 + 2.0 * I;
	CHECK(complex, revolver, Complex_FFT12, 12);
	printf("%g\n", cimag(z));
	return 0;
}
)",
     {{"main", false, ""}}, "Complex_FFT12 ok\n2\n", false, false},
    {"after <complex>, using namespace std after it, the type written ::complex", kPlain,
     R"(#include <complex>
#include "d/FFT12.h"
using namespace std;
int main() {
	std::complex<double> z(1, 2);
	CHECK(::complex, revolver, Complex_FFT12, 12);
	printf("%g\n", z.imag());
	return 0;
}
)",
     {{"d/FFT12.cpp", true, ""}, {"main", true, ""}}, "Complex_FFT12 ok\n2\n", false, false},
    {"after <complex.h> without #undef", kPlain, "#include <complex.h>\n#include \"d/FFT12.cpp\"\n",
     {{"main", false, ""}}, "#undef complex before including this file", true, false},
    {"both precisions without a prefix", {{12, S, ""}, {60, D, ""}},
     "#include \"s/FFT12.cpp\"\n#include \"d/FFT60.h\"\n", {{"main", false, ""}},
     "need a different --prefix for each", true, false},
};

struct Toolchain {
    const char* c;
    const char* cxx;
    bool runs;  // on this machine; the others are only linked
};
const Toolchain kToolchains[] = {{"/usr/bin/gcc", "/usr/bin/g++", true},
                                 {"/usr/bin/clang", "/usr/bin/clang++", true},
                                 {"/usr/bin/x86_64-w64-mingw32-gcc", "/usr/bin/x86_64-w64-mingw32-g++", false},
                                 {"/usr/bin/i686-w64-mingw32-gcc", "/usr/bin/i686-w64-mingw32-g++", false}};

TEST(FastPrograms, SeveralFilesBuildIntoOneProgram) {
    ASSERT_TRUE(std::filesystem::exists(kToolchains[0].c));
    ScratchDir dir;
    for (const ProgramCase& c : kCases) {
        for (const Generated& g : c.files) writeGenerated(g);
        for (const Toolchain& tools : kToolchains) {
            if ((!tools.runs && !c.windows) || !std::filesystem::exists(tools.c)) continue;
            const std::string what = std::string(c.what) + ", " + tools.c;
            std::string objects;
            bool cxx = false, compiled = true;
            std::string diagnostics;
            for (size_t i = 0; i < c.units.size(); ++i) {
                const Unit& u = c.units[i];
                std::string source = u.source;
                if (source == "main") {
                    source = u.cxx ? "main.cpp" : "main.c";
                    writeFile(source, kPrelude + c.main);
                }
                const std::string object = "unit" + std::to_string(i) + ".o";
                const ProcessResult r = runProcess(
                    {"/bin/sh", "-c",
                     std::string(u.cxx ? tools.cxx : tools.c) + (u.cxx ? " -xc++ -std=c++11" : " -xc -std=c99") +
                         " -O1 -pedantic -Wall -Wextra -Werror " + u.flags + " -c " + source + " -o " + object},
                    "", {"LC_ALL=C"});
                compiled = compiled && r.status == 0;
                diagnostics += r.err;
                objects += " " + object;
                cxx = cxx || u.cxx;
            }
            if (c.fails) {
                EXPECT_FALSE(compiled) << what;
                EXPECT_NE(diagnostics.find(c.expected), std::string::npos) << what << "\n" << diagnostics;
                continue;
            }
            ASSERT_TRUE(compiled) << what << "\n" << diagnostics;
            const ProcessResult link =
                runProcess({"/bin/sh", "-c", std::string(cxx ? tools.cxx : tools.c) + objects + " -o program -lm"});
            ASSERT_EQ(link.status, 0) << what << "\n" << link.err;
            if (!tools.runs) continue;
            const ProcessResult run = runProcess({"./program"});
            EXPECT_EQ(run.status, 0) << what;
            EXPECT_EQ(run.out, c.expected) << what;
        }
    }
}

}  // namespace
