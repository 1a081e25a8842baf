// Compiled by bench/run together with one generated FFT<N>.cpp: times its
// three transforms against FFTW and against a direct DFT of the same
// length. Built with -DLEN=<N> -DGENERATED="<path>", -lbenchmark -lfftw3.
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

namespace {

const long N = LEN;
// A direct DFT costs N^2; above this length only kDirectBins outputs are
// computed and the time is scaled up to all N of them.
const long kDirectFull = 4096;
const long kDirectBins = 256;

struct Data {
    std::vector<complex> table, input, output;
    std::vector<double> realInput;
    fftw_complex *in, *out;
    fftw_plan forward, backward;
};
Data* data;

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

double relativeError(const complex* got, const fftw_complex* want, double scale) {
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
    auto check = [&](const char* what, double error) {
        if (error > 1e-8) {
            std::fprintf(stderr, "%s of length %ld is off by %.3e relative to FFTW\n", what, N, error);
            ok = false;
        }
    };
    for (long n = 0; n < N; ++n) d.in[n][0] = d.input[n].re, d.in[n][1] = d.input[n].im;
    fftw_execute(d.forward);
    CAT(Complex_FFT, LEN)(d.output.data(), d.input.data(), d.table.data());
    check("Complex_FFT", relativeError(d.output.data(), d.out, 1));
    fftw_execute(d.backward);
    CAT(IFFT, LEN)(d.output.data(), d.input.data(), d.table.data());
    check("IFFT", relativeError(d.output.data(), d.out, 1.0 / N));

    for (long n = 0; n < N; ++n) d.in[n][0] = d.realInput[n], d.in[n][1] = 0;
    fftw_execute(d.forward);
    CAT(Real_FFT, LEN)(d.output.data(), d.realInput.data(), d.table.data());
    check("Real_FFT", relativeError(d.output.data(), d.out, 1));

    const long bins = std::min(N, 64L);
    for (long n = 0; n < N; ++n) d.in[n][0] = d.input[n].re, d.in[n][1] = d.input[n].im;
    fftw_execute(d.forward);
    directDft(d.output.data(), d.input.data(), d.table.data(), bins);
    double worst = 0, largest = 0;
    for (long k = 0; k < bins; ++k) {
        largest = std::max(largest, std::hypot(d.out[k][0], d.out[k][1]));
        worst = std::max(worst, std::hypot(d.output[k].re - d.out[k][0], d.output[k].im - d.out[k][1]));
    }
    check("the direct DFT", worst / largest);
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

void BM_Fftw(benchmark::State& state, fftw_plan plan) {
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::ClobberMemory();
    }
}

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

void* run(void*) {
    Data d;
    d.table.resize(N);
    d.input.resize(N);
    d.output.resize(N);
    d.realInput.resize(N);
    d.in = fftw_alloc_complex(N);
    d.out = fftw_alloc_complex(N);
    // Planning with FFTW_MEASURE overwrites both arrays, so it comes first.
    d.forward = fftw_plan_dft_1d(int(N), d.in, d.out, FFTW_FORWARD, FFTW_MEASURE);
    d.backward = fftw_plan_dft_1d(int(N), d.in, d.out, FFTW_BACKWARD, FFTW_MEASURE);

    std::mt19937_64 rng(LEN);
    std::uniform_real_distribution<double> uniform(-1, 1);
    for (long n = 0; n < N; ++n) {
        d.input[n].re = uniform(rng);
        d.input[n].im = uniform(rng);
        d.realInput[n] = uniform(rng);
    }
    revolver(N, d.table.data());
    data = &d;
    static bool ok;
    ok = agreesWithFftw(d);
    if (ok) {
        for (long n = 0; n < N; ++n) d.in[n][0] = d.input[n].re, d.in[n][1] = d.input[n].im;
        const std::string len = "/" + std::to_string(N);
        benchmark::RegisterBenchmark(("generated_complex" + len).c_str(), BM_Complex)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("generated_real" + len).c_str(), BM_Real)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("generated_inverse" + len).c_str(), BM_Inverse)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("fftw_forward" + len).c_str(), BM_Fftw, d.forward)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("fftw_backward" + len).c_str(), BM_Fftw, d.backward)->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("direct_dft" + len).c_str(), BM_Direct)
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RunSpecifiedBenchmarks();
    }
    fftw_destroy_plan(d.forward);
    fftw_destroy_plan(d.backward);
    fftw_free(d.in);
    fftw_free(d.out);
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
