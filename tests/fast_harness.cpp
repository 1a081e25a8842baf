// Compiled by the fast-style test together with one generated FFT<N>.cpp of
// either precision: runs its four transforms on random input on a thread
// with a 256 KiB stack and prints, for each, the largest error against a
// direct DFT in long double relative to the largest output, and the error of
// Real_IFFT after Real_FFT relative to the largest input; then whether the
// inputs were left as they were and whether in-place calls gave the
// out-of-place results. Built with -DLEN=<N> -DGENERATED="<path>"; with
// -DNO_HEAP (and FFT_MALLOC defined to give null) it checks instead that an
// in-place call and Real_IFFT fill their output with NaN, and with
// -DNAN_WITHOUT_WORK as well that every transform does (a length with a pass
// that runs only as a convolution). With -DLONG_IS_INT the generated code is
// compiled with a 32-bit long, as on Windows and 32-bit targets. With
// -DRMS_BOUND=<bound> it also prints the rms errors of Complex_FFT, IFFT,
// Real_FFT and Real_IFFT relative to the rms of their outputs and fails where one is
// above the bound. It judges
// the result itself, so that the native test and the runs on other
// processors share one verdict: the exit status is 0 only when every error
// is within the bound of the precision and the checks hold; what failed
// goes to stderr.
#include <math.h>
#include <stdlib.h>
#include <string.h>
#ifdef LONG_IS_INT
#define long int
#endif
#include GENERATED
#undef long

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "reference_dft.h"

#define CAT2(a, b) a##b
#define CAT(a, b) CAT2(a, b)

namespace {

typedef decltype(complex::re) real;
const long N = LEN;
const int kSampled = 200;  // outputs checked above 8192, each an O(N) sum
// A few hundred ulps of the precision, for lengths up to 2^24.
const double kBound = sizeof(real) == sizeof(float) ? 2e-5 : 1e-12;

// Stays 1 unless the body runs to its end without a failed check, so a
// crash or an early return cannot pass.
int verdict = 1;
bool failed = false;

void report(const char* kind, double error) {
    std::printf("%s %.3e\n", kind, error);
    // A line as soon as it is known: the test's runner gives up on a program
    // that stays silent for a minute, which the longest lengths come near.
    std::fflush(stdout);
    if (!(error <= kBound)) {  // NaN fails too
        std::fprintf(stderr, "FAIL: %s error %.3e above %.0e\n", kind, error, kBound);
        failed = true;
    }
}

bool same(const std::vector<complex>& a, const std::vector<complex>& b) {
    return std::memcmp(a.data(), b.data(), a.size() * sizeof(complex)) == 0;
}

bool allNan(const std::vector<complex>& a) {
    for (const complex& z : a)
        if (!std::isnan(z.re) || !std::isnan(z.im)) return false;
    return true;
}

bool allNan(const std::vector<real>& a) {
    for (real x : a)
        if (!std::isnan(x)) return false;
    return true;
}

// Real samples as entries with a zero imaginary part, for maxError.
std::vector<complex> asComplex(const std::vector<real>& x) {
    std::vector<complex> z(x.size());
    for (size_t n = 0; n < x.size(); ++n) z[n].re = x[n], z[n].im = 0;
    return z;
}

// The largest difference relative to the largest of a; NaN when b has one.
double relativeDifference(const std::vector<real>& a, const std::vector<real>& b) {
    double worst = 0, largest = 0;
    for (size_t n = 0; n < a.size(); ++n) {
        largest = std::max(largest, std::fabs(double(a[n])));
        const double difference = std::fabs(double(a[n]) - double(b[n]));
        if (std::isnan(difference) || difference > worst) worst = difference;
    }
    return worst / (largest > 0 ? largest : 1);
}

// The rms error of a transform against RMS_BOUND, where one is given.
void reportRms(const char* kind, double rms) {
#ifdef RMS_BOUND
    std::printf("%s_rms %.3e\n", kind, rms);
    if (!(rms <= RMS_BOUND)) {
        std::fprintf(stderr, "FAIL: %s rms error %.3e above %.1e\n", kind, rms, double(RMS_BOUND));
        failed = true;
    }
#else
    (void)kind, (void)rms;
#endif
}

// An out-of-place forward or inverse transform: within the bound, or NaN
// throughout where the length has no way without its work memory.
void check(const char* kind, double error, const std::vector<complex>& output) {
#if defined(NO_HEAP) && defined(NAN_WITHOUT_WORK)
    std::printf("%s %.3e\n", kind, error);
    std::fflush(stdout);
    if (!allNan(output)) {
        std::fprintf(stderr, "FAIL: %s without work memory did not give NaN throughout\n", kind);
        failed = true;
    }
#else
    (void)output;
    report(kind, error);
#endif
}

void* run(void*) {
    std::mt19937_64 rng(LEN);
    std::uniform_real_distribution<double> uniform(-1, 1);
    std::vector<complex> table(N), input(N), output(N), work(N);
    std::vector<real> realInput(N);
    for (long n = 0; n < N; ++n) {
        input[n].re = real(uniform(rng));
        input[n].im = real(uniform(rng));
        realInput[n] = real(uniform(rng));
    }
    const std::vector<complex> inputCopy = input;
    const std::vector<real> realCopy = realInput;
    const std::vector<long> ks = checkedOutputs(N, 8192, kSampled, rng);
    revolver(N, table.data());
    const Reference ref(N);
    const real *re = &inputCopy[0].re, *im = &inputCopy[0].im, *noImaginary = nullptr;
    bool inPlace = true;

    CAT(Complex_FFT, LEN)(output.data(), input.data(), table.data());
    double rms = 0;
    check("complex", maxError(ref, re, im, 2, output.data(), -1, 1, ks, 1, &rms), output);
    reportRms("complex", rms);
    work = input;
    CAT(Complex_FFT, LEN)(work.data(), work.data(), table.data());
#ifdef NO_HEAP
    inPlace = inPlace && allNan(work);
#else
    inPlace = inPlace && same(work, output);
#endif

    CAT(IFFT, LEN)(output.data(), input.data(), table.data());
    check("inverse", maxError(ref, re, im, 2, output.data(), +1, 1.0L / N, ks, 1, &rms), output);
    reportRms("inverse", rms);
    work = input;
    CAT(IFFT, LEN)(work.data(), work.data(), table.data());
#ifdef NO_HEAP
    inPlace = inPlace && allNan(work);
#else
    inPlace = inPlace && same(work, output);
#endif

    CAT(Real_FFT, LEN)(output.data(), realInput.data(), table.data());
    check("real", maxError(ref, realCopy.data(), noImaginary, 1, output.data(), -1, 1, ks, 1, &rms), output);
    reportRms("real", rms);

    // Real_IFFT reads entries 0 to N/2 and takes the imaginary parts of
    // entry 0 and, for even N, N/2 as zero: the NaN there and above N/2
    // must not reach the samples. The reference is the whole Hermitian
    // spectrum those entries stand for.
    const real nan = std::numeric_limits<real>::quiet_NaN();
    std::vector<complex> spectrum(N);
    for (long k = 0; k < N; ++k) {
        spectrum[k].re = k <= N / 2 ? real(uniform(rng)) : nan;
        spectrum[k].im = k <= N / 2 ? real(uniform(rng)) : nan;
    }
    spectrum[0].im = nan;
    if (N % 2 == 0) spectrum[N / 2].im = nan;
    std::vector<real> wholeRe(N), wholeIm(N);
    for (long k = 0; k < N; ++k) {
        const complex& z = spectrum[k <= N / 2 ? k : N - k];
        const bool realEntry = k == 0 || 2 * k == N;
        wholeRe[k] = z.re;
        wholeIm[k] = realEntry ? 0 : k <= N / 2 ? z.im : -z.im;
    }
    const std::vector<complex> spectrumCopy = spectrum, forwardCopy = output;
    std::vector<real> samples(N), roundTrip(N);
    CAT(Real_IFFT, LEN)(samples.data(), spectrum.data(), table.data());
    CAT(Real_IFFT, LEN)(roundTrip.data(), output.data(), table.data());
#ifdef NO_HEAP
    const bool withoutHeap = allNan(samples) && allNan(roundTrip);
#else
    const bool withoutHeap = true;
    report("real_inverse",
           maxError(ref, wholeRe.data(), wholeIm.data(), 1, asComplex(samples).data(), +1, 1.0L / N, ks, 1, &rms));
    reportRms("real_inverse", rms);
    report("round_trip", relativeDifference(realInput, roundTrip));
#endif

    const bool kept =
        same(input, inputCopy) && realInput == realCopy && same(spectrum, spectrumCopy) && same(output, forwardCopy);
    std::printf("kept %d\nin_place %d\n", kept ? 1 : 0, inPlace ? 1 : 0);
    if (!kept) std::fprintf(stderr, "FAIL: an input was modified\n");
#ifdef NO_HEAP
    if (!inPlace) std::fprintf(stderr, "FAIL: in place without heap did not give NaN\n");
    if (!withoutHeap) std::fprintf(stderr, "FAIL: Real_IFFT without heap did not give NaN\n");
#else
    if (!inPlace) std::fprintf(stderr, "FAIL: in place differs from out of place\n");
#endif
    verdict = failed || !kept || !inPlace || !withoutHeap ? 1 : 0;
    return nullptr;
}

}  // namespace

int main() {
    // The generated code must not need more than a small thread's stack.
    const int status = runWithStack(256u << 10, run);
    return status != 0 ? status : verdict;
}
