// Compiled by bench/run together with one generated FFT<N>.cpp of either
// style and precision: times its three transforms, names them after
// -DVARIANT="<name>", and, with -DTIME_FFTW, times FFTW of the same
// precision beside them (with and without its vector code); with -DDIRECT
// also a direct DFT. Built with -DLEN=<N> -DGENERATED="<path>",
// -lbenchmark -lfftw3 (-lfftw3f for single precision).
#include GENERATED

#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <pthread.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#define CAT2(a, b) a##b
#define CAT(a, b) CAT2(a, b)

#ifndef VARIANT
#define VARIANT "generated"
#endif

namespace {

typedef decltype(complex::re) real;
// FFTW of the precision of the generated file.
template <bool single>
struct Fftw;
template <>
struct Fftw<false> {
    typedef fftw_complex C;
    typedef fftw_plan Plan;
    static C* alloc(long n) { return fftw_alloc_complex(size_t(n)); }
    static Plan plan(long n, C* in, C* out, int sign, unsigned flags) { return fftw_plan_dft_1d(int(n), in, out, sign, flags); }
    static void execute(Plan p) { fftw_execute(p); }
    static void destroy(Plan p) { fftw_destroy_plan(p); }
    static void free(C* p) { fftw_free(p); }
};
template <>
struct Fftw<true> {
    typedef fftwf_complex C;
    typedef fftwf_plan Plan;
    static C* alloc(long n) { return fftwf_alloc_complex(size_t(n)); }
    static Plan plan(long n, C* in, C* out, int sign, unsigned flags) { return fftwf_plan_dft_1d(int(n), in, out, sign, flags); }
    static void execute(Plan p) { fftwf_execute(p); }
    static void destroy(Plan p) { fftwf_destroy_plan(p); }
    static void free(C* p) { fftwf_free(p); }
};
typedef Fftw<sizeof(real) == sizeof(float)> Lib;

const long N = LEN;
// A direct DFT costs N^2; above this length only kDirectBins outputs are
// computed and the time is scaled up to all N of them.
const long kDirectFull = 4096;
const long kDirectBins = 256;

struct Data {
    std::vector<complex> table, input, output;
    std::vector<real> realInput;
    Lib::C *in, *out;
    Lib::Plan forward, backward, plainForward, plainBackward;  // plain: FFTW_NO_SIMD
};
Data* data;

#ifdef DIRECT
// The outputs k < bins of sum over n of x[n] * table[n*k mod N], the
// table being exp(-2*pi*i*q/N) as revolver fills it.
void directDft(complex* out, const complex* x, const complex* table, long bins) {
    for (long k = 0; k < bins; ++k) {
        double re = 0, im = 0;
        long q = 0;
        for (long n = 0; n < N; ++n) {
            re += x[n].re * table[q].re - x[n].im * table[q].im;
            im += x[n].re * table[q].im + x[n].im * table[q].re;
            q += k;
            if (q >= N) q -= N;
        }
        out[k].re = re;
        out[k].im = im;
    }
}

#endif

double relativeError(const complex* got, const Lib::C* want, double scale) {
    double worst = 0, largest = 0;
    for (long k = 0; k < N; ++k) {
        const double wr = want[k][0] * scale, wi = want[k][1] * scale;
        largest = std::max(largest, std::hypot(wr, wi));
        worst = std::max(worst, std::hypot(got[k].re - wr, got[k].im - wi));
    }
    return worst / largest;
}

// A benchmark of a wrong result is worthless: every transform is first
// checked against FFTW on the same input.
bool agreesWithFftw(Data& d) {
    bool ok = true;
    const double tolerance = sizeof(real) == sizeof(float) ? 1e-4 : 1e-8;
    auto check = [&](const char* what, double error) {
        if (error > tolerance) {
            std::fprintf(stderr, "%s of length %ld is off by %.3e relative to FFTW\n", what, N, error);
            ok = false;
        }
    };
    for (long n = 0; n < N; ++n) d.in[n][0] = d.input[n].re, d.in[n][1] = d.input[n].im;
    Lib::execute(d.forward);
    CAT(Complex_FFT, LEN)(d.output.data(), d.input.data(), d.table.data());
    check("Complex_FFT", relativeError(d.output.data(), d.out, 1));
    Lib::execute(d.backward);
    CAT(IFFT, LEN)(d.output.data(), d.input.data(), d.table.data());
    check("IFFT", relativeError(d.output.data(), d.out, 1.0 / N));

    for (long n = 0; n < N; ++n) d.in[n][0] = d.realInput[n], d.in[n][1] = 0;
    Lib::execute(d.forward);
    CAT(Real_FFT, LEN)(d.output.data(), d.realInput.data(), d.table.data());
    check("Real_FFT", relativeError(d.output.data(), d.out, 1));

#ifdef DIRECT
    const long bins = std::min(N, 64L);
    for (long n = 0; n < N; ++n) d.in[n][0] = d.input[n].re, d.in[n][1] = d.input[n].im;
    Lib::execute(d.forward);
    directDft(d.output.data(), d.input.data(), d.table.data(), bins);
    double worst = 0, largest = 0;
    for (long k = 0; k < bins; ++k) {
        largest = std::max(largest, std::hypot(d.out[k][0], d.out[k][1]));
        worst = std::max(worst, std::hypot(d.output[k].re - d.out[k][0], d.output[k].im - d.out[k][1]));
    }
    check("the direct DFT", worst / largest);
#endif
    return ok;
}

void BM_Complex(benchmark::State& state) {
    for (auto _ : state) {
        CAT(Complex_FFT, LEN)(data->output.data(), data->input.data(), data->table.data());
        benchmark::ClobberMemory();
    }
}

void BM_Real(benchmark::State& state) {
    for (auto _ : state) {
        CAT(Real_FFT, LEN)(data->output.data(), data->realInput.data(), data->table.data());
        benchmark::ClobberMemory();
    }
}

void BM_Inverse(benchmark::State& state) {
    for (auto _ : state) {
        CAT(IFFT, LEN)(data->output.data(), data->input.data(), data->table.data());
        benchmark::ClobberMemory();
    }
}

[[maybe_unused]] void BM_Fftw(benchmark::State& state, Lib::Plan plan) {
    for (auto _ : state) {
        Lib::execute(plan);
        benchmark::ClobberMemory();
    }
}

#ifdef DIRECT
// Manual time: the measured time of the computed outputs, scaled to N.
void BM_Direct(benchmark::State& state) {
    const long bins = N <= kDirectFull ? N : kDirectBins;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        directDft(data->output.data(), data->input.data(), data->table.data(), bins);
        benchmark::ClobberMemory();
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(took.count() * double(N) / double(bins));
    }
    if (bins < N) state.SetLabel("extrapolated from " + std::to_string(bins) + " outputs");
}
#endif

void* run(void*) {
    Data d;
    d.table.resize(N);
    d.input.resize(N);
    d.output.resize(N);
    d.realInput.resize(N);
    d.in = Lib::alloc(N);
    d.out = Lib::alloc(N);
    // Planning with FFTW_MEASURE overwrites both arrays, so it comes first.
    d.forward = Lib::plan(N, d.in, d.out, FFTW_FORWARD, FFTW_MEASURE);
    d.backward = Lib::plan(N, d.in, d.out, FFTW_BACKWARD, FFTW_MEASURE);
#ifdef TIME_FFTW
    d.plainForward = Lib::plan(N, d.in, d.out, FFTW_FORWARD, FFTW_MEASURE | FFTW_NO_SIMD);
    d.plainBackward = Lib::plan(N, d.in, d.out, FFTW_BACKWARD, FFTW_MEASURE | FFTW_NO_SIMD);
#endif

    std::mt19937_64 rng(LEN);
    std::uniform_real_distribution<double> uniform(-1, 1);
    for (long n = 0; n < N; ++n) {
        d.input[n].re = real(uniform(rng));
        d.input[n].im = real(uniform(rng));
        d.realInput[n] = real(uniform(rng));
    }
    revolver(N, d.table.data());
    data = &d;
    static bool ok;
    ok = agreesWithFftw(d);
    if (ok) {
        for (long n = 0; n < N; ++n) d.in[n][0] = d.input[n].re, d.in[n][1] = d.input[n].im;
        const std::string len = "/" + std::to_string(N), variant = VARIANT;
        benchmark::RegisterBenchmark((variant + "_complex" + len).c_str(), BM_Complex)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((variant + "_real" + len).c_str(), BM_Real)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((variant + "_inverse" + len).c_str(), BM_Inverse)->Unit(benchmark::kMicrosecond);
#ifdef TIME_FFTW
        const std::string fftw = sizeof(real) == sizeof(float) ? "fftwf" : "fftw";
        benchmark::RegisterBenchmark((fftw + "_forward" + len).c_str(), BM_Fftw, d.forward)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((fftw + "_backward" + len).c_str(), BM_Fftw, d.backward)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((fftw + "_nosimd_forward" + len).c_str(), BM_Fftw, d.plainForward)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark((fftw + "_nosimd_backward" + len).c_str(), BM_Fftw, d.plainBackward)
            ->Unit(benchmark::kMicrosecond);
#endif
#ifdef DIRECT
        benchmark::RegisterBenchmark(("direct_dft" + len).c_str(), BM_Direct)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
#endif
        benchmark::RunSpecifiedBenchmarks();
    }
    Lib::destroy(d.forward);
    Lib::destroy(d.backward);
#ifdef TIME_FFTW
    Lib::destroy(d.plainForward);
    Lib::destroy(d.plainBackward);
#endif
    Lib::free(d.in);
    Lib::free(d.out);
    return &ok;
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    // The generated functions keep two N-element arrays on the stack.
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 64u << 20);
    pthread_t thread;
    if (pthread_create(&thread, &attr, run, nullptr) != 0) return 2;
    void* ok = nullptr;
    pthread_join(thread, &ok);
    benchmark::Shutdown();
    return *static_cast<bool*>(ok) ? 0 : 1;
}
