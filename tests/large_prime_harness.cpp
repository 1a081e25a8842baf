// Compiled by the large-prime test together with the generated kv_conv_*
// functions of one precision (-DREAL=double or float, -DSUPPORT="<path>").
// Each argument is p:bytes, a prime and the work size the generator gives
// for it; prints the error of kv_conv_dft and kv_conv_dft_real against a
// direct DFT in long double, relative to the largest output. Built with
// AddressSanitizer, so that work used beyond `bytes` fails the run, and
// with the generated code's long made int under UndefinedBehaviorSanitizer,
// so that an index above 2^31 - 1 fails it too.
#include <algorithm>
#include <cmath>
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

namespace {

const long double kPi = 3.141592653589793238462643383279502884L;

// Largest error over largest magnitude, on all outputs up to 3000 and on
// 200 of them above.
double relativeError(const std::vector<long double>& re, const std::vector<long double>& im, const complex* out,
                     long os, std::mt19937_64& rng) {
    const long p = long(re.size());
    std::vector<long double> c(p), s(p);
    for (long q = 0; q < p; ++q) c[q] = cosl(2 * kPi * q / p), s[q] = -sinl(2 * kPi * q / p);
    std::vector<long> ks = {0, 1, p - 1};
    std::uniform_int_distribution<long> pick(0, p - 1);
    for (long k = 2; k < p - 1 && ks.size() < 200; ++k) ks.push_back(p <= 3000 ? k : pick(rng));
    long double worst = 0, largest = 0;
    for (long k : ks) {
        long double r = 0, i = 0;
        for (long j = 0, q = 0; j < p; ++j, q = (q + k) % p) {
            r += re[j] * c[q] - im[j] * s[q];
            i += re[j] * s[q] + im[j] * c[q];
        }
        largest = std::max(largest, std::hypot(r, i));
        worst = std::max(worst, std::hypot(r - out[k * os].re, i - out[k * os].im));
    }
    return double(worst / largest);
}

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

        std::vector<long double> re(p), im(p), zero(p);
        for (long j = 0; j < p; ++j) re[j] = in[2 * j].re, im[j] = in[2 * j].im;
        std::printf("%ld complex %.3e\n", p, relativeError(re, im, out.data(), 3, rng));
        for (long j = 0; j < p; ++j) re[j] = realIn[3 * j];
        std::printf("%ld real %.3e\n", p, relativeError(re, zero, realOut.data(), 1, rng));
    }
    return 0;
}
