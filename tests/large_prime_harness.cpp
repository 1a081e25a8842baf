// Compiled by the large-prime test together with the generated kv_conv_*
// functions of one precision (-DREAL=double or float, -DSUPPORT="<path>").
// Each argument is p:bytes, a prime and the work size the generator gives
// for it; prints the error of kv_conv_dft, kv_conv_dft_real and
// kv_conv_pass (the second pass of a length-3p transform) against a
// direct DFT in long double, relative to the largest output, and the
// convolution length the code chose ("p length n"). Built with
// AddressSanitizer, so that work used beyond `bytes` fails the run, and
// with the generated code's long made int under UndefinedBehaviorSanitizer,
// so that an index above 2^31 - 1 fails it too.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

typedef struct {
    REAL re;
    REAL im;
} complex;

#define long int
#include SUPPORT
#undef long

#include "reference_dft.h"

namespace {

const long double kPi = 3.141592653589793238462643383279502884L;
const int kSampled = 200;  // outputs checked above 3000

}  // namespace

int main(int argc, char** argv) {
    for (int a = 1; a < argc; ++a) {
        const long p = std::atol(argv[a]);
        const size_t bytes = size_t(std::atoll(std::strchr(argv[a], ':') + 1));
        std::mt19937_64 rng(p);
        std::uniform_real_distribution<double> uniform(-1, 1);
        // A table of 2p roots, as a transform of length 2p has; input and
        // output at strides, as the first stage of such a transform reads
        // and writes them.
        std::vector<complex> table(2 * p), in(2 * p), out(3 * p), realOut(p);
        std::vector<REAL> realIn(3 * p);
        for (long q = 0; q < 2 * p; ++q) {
            table[q].re = REAL(cosl(kPi * q / p));
            table[q].im = REAL(-sinl(kPi * q / p));
            in[q].re = REAL(uniform(rng));
            in[q].im = REAL(uniform(rng));
        }
        for (REAL& x : realIn) x = REAL(uniform(rng));
        complex* work = static_cast<complex*>(std::malloc(bytes));
        kv_conv_init(work, p, table.data(), 2);
        kv_conv_dft(out.data(), 3, in.data(), 2, work, p);
        kv_conv_dft_real(realOut.data(), 1, realIn.data(), 3, work, p);
        std::free(work);

        const Reference ref(p);
        const std::vector<long> ks = checkedOutputs(p, 3000, kSampled, rng);
        const REAL* noImaginary = nullptr;
        std::printf("%ld complex %.3e\n", p, maxError(ref, &in[0].re, &in[0].im, 4, out.data(), -1, 1, ks, 3));
        std::printf("%ld real %.3e\n", p, maxError(ref, realIn.data(), noImaginary, 3, realOut.data(), -1, 1, ks));

        // As the second pass of a length-3p transform, in place on three
        // interleaved groups: entry q of the last turned by W_3p^(2q) first.
        std::vector<complex> roots(3 * p), pass(3 * p);
        std::vector<REAL> turnedRe(p), turnedIm(p);
        for (long q = 0; q < 3 * p; ++q) {
            roots[q] = {REAL(cosl(2 * kPi * q / (3 * p))), REAL(-sinl(2 * kPi * q / (3 * p)))};
            pass[q] = {REAL(uniform(rng)), REAL(uniform(rng))};
        }
        for (long q = 0; q < p; ++q) {
            const complex x = pass[3 * q + 2], w = roots[2 * q];
            turnedRe[q] = x.re * w.re - x.im * w.im;
            turnedIm[q] = x.re * w.im + x.im * w.re;
        }
        work = static_cast<complex*>(std::malloc(bytes));
        kv_conv_init(work, p, roots.data(), 3);
        kv_conv_pass(pass.data(), p, 3, 1, roots.data(), 1, work);
        std::printf("%ld length %ld\n", p, long(kv_conv_parts(work, p).n));
        std::free(work);
        std::printf("%ld pass %.3e\n", p, maxError(ref, turnedRe.data(), turnedIm.data(), 1, pass.data() + 2, -1, 1, ks, 3));
    }
    return 0;
}
