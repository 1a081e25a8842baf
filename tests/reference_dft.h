// What the transform harnesses share: a direct DFT in long double, the
// outputs checked against it, the largest error over them relative to the
// largest output (NaN when an output is NaN), and a thread with a chosen
// stack. Included by harnesses that are compiled together with generated code.
#pragma once

#include <pthread.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

struct Reference {
    long n;
    std::vector<long double> c, s;  // cos and sin of 2*pi*q/n
    explicit Reference(long length) : n(length), c(length), s(length) {
        const long double kPi = 3.141592653589793238462643383279502884L;
        for (long q = 0; q < n; ++q) {
            c[q] = cosl(2 * kPi * q / n);
            s[q] = sinl(2 * kPi * q / n);
        }
    }
    // sum over j of x[j] * exp(sign * 2*pi*i * j*k/n)
    void term(const std::vector<long double>& re, const std::vector<long double>& im, long k, int sign,
              long double& outRe, long double& outIm) const {
        long double r = 0, i = 0;
        long q = 0;
        for (long j = 0; j < n; ++j, q = (q + k) % n) {
            const long double wr = c[q], wi = sign * s[q];
            r += re[j] * wr - im[j] * wi;
            i += re[j] * wi + im[j] * wr;
        }
        outRe = r;
        outIm = i;
    }
};

// The outputs to check, each an O(n) sum: all of them up to `all`, else 0,
// 1, n/2, n - 1 and others drawn from rng, `count` in all.
inline std::vector<long> checkedOutputs(long n, long all, int count, std::mt19937_64& rng) {
    std::vector<long> ks;
    if (n <= all) {
        for (long k = 0; k < n; ++k) ks.push_back(k);
        return ks;
    }
    ks = {0, 1, n / 2, n - 1};
    std::uniform_int_distribution<long> pick(0, n - 1);
    while (int(ks.size()) < count) ks.push_back(pick(rng));
    return ks;
}

// out is any array of a struct with members re and im, output k at
// out[k * stride].
template <typename Complex>
double maxError(const Reference& ref, const std::vector<long double>& re, const std::vector<long double>& im,
                const Complex* out, int sign, long double scale, const std::vector<long>& ks, long stride = 1) {
    long double worst = 0, largest = 0;
    for (long k : ks) {
        long double r, i;
        ref.term(re, im, k, sign, r, i);
        r *= scale;
        i *= scale;
        largest = std::max(largest, std::hypot(r, i));
        // std::max would drop a NaN output; it must stay and fail.
        const long double error = std::hypot(r - out[k * stride].re, i - out[k * stride].im);
        if (std::isnan(error) || error > worst) worst = error;
    }
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
