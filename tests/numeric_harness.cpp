// Compiled by the numeric test together with one generated FFT<N>.cpp:
// runs its three transforms on random input and prints, for each, the
// largest error against a direct DFT in long double, relative to the
// largest output. Built with -DLEN=<N> -DGENERATED="<path>".
#include GENERATED

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "reference_dft.h"

#define CAT2(a, b) a##b
#define CAT(a, b) CAT2(a, b)

namespace {

const long N = LEN;
const int kSampled = 300;  // outputs checked above 8192, each an O(N) sum

// Leaves junk where the generated functions will keep their work arrays,
// so that an element they forget to clear cannot come out right by luck.
__attribute__((noinline)) void dirtyStack() {
    volatile unsigned char junk[4 * LEN * sizeof(complex) + 65536];
    std::memset(const_cast<unsigned char*>(junk), 0x5a, sizeof junk);
}

void* run(void*) {
    std::mt19937_64 rng(LEN);
    std::uniform_real_distribution<double> uniform(-1, 1);
    std::vector<complex> table(N), input(N), output(N);
    std::vector<double> realInput(N);
    for (long n = 0; n < N; ++n) {
        input[n].re = uniform(rng);
        input[n].im = uniform(rng);
        realInput[n] = uniform(rng);
    }
    const std::vector<long> ks = checkedOutputs(N, 8192, kSampled, rng);
    revolver(N, table.data());
    const Reference ref(N);

    const double *re = &input[0].re, *im = &input[0].im, *noImaginary = nullptr;
    dirtyStack();
    CAT(Complex_FFT, LEN)(output.data(), input.data(), table.data());
    std::printf("complex %.3e\n", maxError(ref, re, im, 2, output.data(), -1, 1, ks));

    dirtyStack();
    CAT(IFFT, LEN)(output.data(), input.data(), table.data());
    std::printf("inverse %.3e\n", maxError(ref, re, im, 2, output.data(), +1, 1.0L / N, ks));

    dirtyStack();
    CAT(Real_FFT, LEN)(output.data(), realInput.data(), table.data());
    std::printf("real %.3e\n", maxError(ref, realInput.data(), noImaginary, 1, output.data(), -1, 1, ks));
    return nullptr;
}

}  // namespace

int main() {
    // The generated functions keep two N-element arrays on the stack.
    return runWithStack(64u << 20, run);
}
