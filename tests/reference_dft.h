// What the transform harnesses share: a direct DFT in long double, the
// outputs checked against it, the largest error over them relative to the
// largest output, and a thread with a chosen stack. Included by harnesses
// that are compiled together with generated code.
#pragma once

#include <pthread.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

// The roots exp(2 pi i q / n) are products of two table entries, one for
// the low 12 bits of q and one for the rest, so that the tables stay small
// (O(sqrt n)) for the longest lengths and a root costs no division. The
// input is read where it lies.
struct Reference {
    static const int kLowBits = 12;
    long n;
    std::vector<long double> lowC, lowS, highC, highS;
    explicit Reference(long length) : n(length) {
        const long double kPi = 3.141592653589793238462643383279502884L;
        const long low = std::min(n, 1L << kLowBits), high = ((n - 1) >> kLowBits) + 1;
        for (long q = 0; q < low; ++q) {
            lowC.push_back(cosl(2 * kPi * q / n));
            lowS.push_back(sinl(2 * kPi * q / n));
        }
        for (long h = 0; h < high; ++h) {
            highC.push_back(cosl(2 * kPi * (h << kLowBits) / n));
            highS.push_back(sinl(2 * kPi * (h << kLowBits) / n));
        }
    }
    // sum over j of x[j] * exp(sign * 2*pi*i * j*k/n) for k < n, with
    // x[j] = re[j * stride] + i im[j * stride], or re[j * stride] alone when
    // im is null.
    template <typename Real>
    void term(const Real* re, const Real* im, long stride, long k, int sign, long double& outRe,
              long double& outIm) const {
        long double r = 0, i = 0;
        long q = 0;
        for (long j = 0; j < n; ++j) {
            const long lo = q & ((1L << kLowBits) - 1), hi = q >> kLowBits;
            const long double wr = highC[hi] * lowC[lo] - highS[hi] * lowS[lo];
            const long double wi = sign * (highS[hi] * lowC[lo] + highC[hi] * lowS[lo]);
            const long double a = re[j * stride];
            if (im) {
                const long double b = im[j * stride];
                r += a * wr - b * wi;
                i += a * wi + b * wr;
            } else {
                r += a * wr;
                i += a * wi;
            }
            q += k;
            if (q >= n) q -= n;
        }
        outRe = r;
        outIm = i;
    }
};

// The outputs to check, each an O(n) sum: all of them up to `all`, else 0,
// 1, n/2, n - 1 and others drawn from rng, `count` in all, or fewer for the
// longest lengths: about 2^28 terms, but at least 16 outputs.
inline std::vector<long> checkedOutputs(long n, long all, int count, std::mt19937_64& rng) {
    std::vector<long> ks;
    if (n <= all) {
        for (long k = 0; k < n; ++k) ks.push_back(k);
        return ks;
    }
    const long most = std::max(16L, std::min(long(count), (1L << 28) / n));
    ks = {0, 1, n / 2, n - 1};
    std::uniform_int_distribution<long> pick(0, n - 1);
    while (long(ks.size()) < most) ks.push_back(pick(rng));
    return ks;
}

// The largest error of out[k * outStride] over the outputs ks, relative to
// the largest of them, NaN where an output is NaN; the input as for
// Reference::term, out any array of a struct with members re and im. Where
// rms is given, it gets the rms error relative to the rms of the outputs,
// ||out - exact|| / ||exact|| over ks, the figure FFT benchmarks compare.
template <typename Real, typename Complex>
double maxError(const Reference& ref, const Real* re, const Real* im, long inStride, const Complex* out,
                int sign, long double scale, const std::vector<long>& ks, long outStride = 1,
                double* rms = nullptr) {
    long double worst = 0, largest = 0, squares = 0, norm = 0;
    for (long k : ks) {
        long double r, i;
        ref.term(re, im, inStride, k, sign, r, i);
        r *= scale;
        i *= scale;
        largest = std::max(largest, std::hypot(r, i));
        const long double error = std::hypot(r - out[k * outStride].re, i - out[k * outStride].im);
        if (std::isnan(error)) return NAN;  // std::max would drop it
        worst = std::max(worst, error);
        squares += error * error;
        norm += r * r + i * i;
    }
    if (rms) *rms = double(std::sqrt(squares / (norm > 0 ? norm : 1)));
    return double(worst / (largest > 0 ? largest : 1));
}

// Runs body on a thread with a stack of the given size, as the generated
// functions must cope with; the harness's exit status.
inline int runWithStack(size_t stackBytes, void* (*body)(void*)) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, stackBytes);
    pthread_t thread;
    if (pthread_create(&thread, &attr, body, nullptr) != 0) return 2;
    pthread_join(thread, nullptr);
    return 0;
}
