/* The accuracy of the generated transforms and of FFTW, measured as FFTW's
   own benchmark does with --accuracy: the rms relative error
   ||y - Y||_2 / ||Y||_2 of one transform of random inputs, uniform in
   [-0.5, 0.5), against the exact transform Y of those (rounded) inputs.

   Y is computed in long double with exact twiddles: a table of
   exp(-2 pi i m / N) in long double, read at (j k mod N), so that no
   twiddle is a product of others. Up to KV_ALL_OUTPUTS every output is
   computed (O(N^2)); above, a fixed sample of KV_SAMPLED outputs, one from
   each of as many equal stretches of the outputs, each by an O(N) sum; the
   norms are then taken over that sample.

   bench/accuracy compiles it per length and precision, like the timer
   (bench/transform_timer.c), with
     -DKV_BUILDS='X(gcc_native) X(gcc_O2)'  objects renamed by bench/compile_object,
     -DKV_SINGLE                            single precision, and fftwf,
     -DHAVE_REAL_IFFT                       when the fast file has Real_IFFT.

   Usage: accuracy N [--inputs=COUNT] [--wisdom=FILE] [--measure]
   With several inputs the sums of the norms run over all of them.
   FFTW's plans are FFTW_ESTIMATE ones unless --measure (or a wisdom file
   from the timer, whose plans they then are). Writes one line per
   transform: name, rms relative error, largest error relative to the
   largest exact output; tab-separated, after comment lines that start
   with '#'. */
#include <fftw3.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef KV_SINGLE
typedef float real;
#define FFTW(name) fftwf_##name
#else
typedef double real;
#define FFTW(name) fftw_##name
#endif
typedef struct { real re, im; } complex;
typedef struct { long double re, im; } exact;

#include "build_functions.h"

#ifndef KV_BUILDS
#define KV_BUILDS
#endif
#define KV_ALL_OUTPUTS 4096
#define KV_SAMPLED 384

#define X(b) KV_DECLARE(b) KV_DECLARE_REAL_IFFT(b)
KV_BUILDS
#undef X

typedef struct build {
    const char *name;
    void (*revolver)(long, complex *);
    void (*complex_fft)(complex *, complex *, complex *);
    void (*ifft)(complex *, complex *, complex *);
    void (*real_fft)(complex *, real *, complex *);
    void (*real_ifft)(real *, const complex *, const complex *);
} build;

static const build builds[] = {
#define X(b) {#b, b##_revolver, b##_Complex_FFT, b##_IFFT, b##_Real_FFT, KV_REAL_IFFT_OF(b)},
    KV_BUILDS
#undef X
    {NULL, NULL, NULL, NULL, NULL, NULL}};

/* Indices below count: all of them, or one from each of KV_SAMPLED equal
   stretches, at a fixed pseudo-random place within it. */
typedef struct sample {
    long *at, count;
} sample;

static sample make_sample(long count)
{
    sample s;
    long i;
    unsigned long h = 0x2545f4914f6cdd1dUL;
    s.count = count <= KV_ALL_OUTPUTS ? count : KV_SAMPLED;
    s.at = (long *)malloc((size_t)s.count * sizeof *s.at);
    if (!s.at) exit(2);
    for (i = 0; i < s.count; ++i) {
        long from = (long)((double)i * (double)count / (double)s.count);
        long to = (long)((double)(i + 1) * (double)count / (double)s.count);
        h = h * 6364136223846793005UL + 1442695040888963407UL;
        s.at[i] = from + (long)((h >> 33) % (unsigned long)(to - from));
    }
    return s;
}

static unsigned long state = 0x9e3779b97f4a7c15UL;

/* Uniform in [-0.5, 0.5), rounded to real. */
static real uniform(void)
{
    state = state * 6364136223846793005UL + 1442695040888963407UL;
    return (real)((double)(state >> 11) / 9007199254740992.0 - 0.5);
}

/* The exact results at the sampled indices. */
typedef struct reference {
    sample complex_out, real_out, inverse_out;
    exact *forward, *backward, *real_forward;
    long double *real_inverse;
} reference;

/* W[m] = exp(-2 pi i m / N); the angle in long double is off by a few
   units of 2^-64, far below the errors measured. */
static exact *exact_roots(long n)
{
    const long double two_pi = 6.283185307179586476925286766559005768L;
    exact *w = (exact *)malloc((size_t)n * sizeof *w);
    long m;
    if (!w) exit(2);
    for (m = 0; m < n; ++m) {
        long double a = two_pi * (long double)m / (long double)n;
        w[m].re = cosl(a);
        w[m].im = -sinl(a);
    }
    return w;
}

static void make_reference(reference *r, long n, const complex *x, const real *xr, const complex *spectrum)
{
    exact *w = exact_roots(n), *full = (exact *)malloc((size_t)n * sizeof *full);
    long i, j, e;
    r->complex_out = make_sample(n);
    r->real_out = make_sample(n / 2 + 1);
    r->inverse_out = make_sample(n);
    r->forward = (exact *)malloc((size_t)r->complex_out.count * sizeof *r->forward);
    r->backward = (exact *)malloc((size_t)r->complex_out.count * sizeof *r->backward);
    r->real_forward = (exact *)malloc((size_t)r->real_out.count * sizeof *r->real_forward);
    r->real_inverse = (long double *)malloc((size_t)r->inverse_out.count * sizeof *r->real_inverse);
    if (!full || !r->forward || !r->backward || !r->real_forward || !r->real_inverse) exit(2);
    for (i = 0; i < r->complex_out.count; ++i) {
        const long k = r->complex_out.at[i];
        long double fr = 0, fi = 0, br = 0, bi = 0;
        for (j = 0, e = 0; j < n; ++j) {
            const long double a = x[j].re, b = x[j].im, c = w[e].re, s = w[e].im;
            fr += a * c - b * s;
            fi += a * s + b * c;
            br += a * c + b * s;
            bi += b * c - a * s;
            e += k;
            if (e >= n) e -= n;
        }
        r->forward[i].re = fr, r->forward[i].im = fi;
        r->backward[i].re = br / (long double)n, r->backward[i].im = bi / (long double)n;
    }
    for (i = 0; i < r->real_out.count; ++i) {
        const long k = r->real_out.at[i];
        long double fr = 0, fi = 0;
        for (j = 0, e = 0; j < n; ++j) {
            fr += xr[j] * w[e].re;
            fi += xr[j] * w[e].im;
            e += k;
            if (e >= n) e -= n;
        }
        r->real_forward[i].re = fr, r->real_forward[i].im = fi;
    }
    /* The inverse real transforms read the half spectrum; the rest of it
       follows by symmetry, with zero imaginary parts at 0 and N/2. */
    for (j = 0; j <= n / 2; ++j) {
        full[j].re = spectrum[j].re;
        full[j].im = j == 0 || 2 * j == n ? 0 : spectrum[j].im;
        if (j > 0) full[n - j].re = full[j].re, full[n - j].im = -full[j].im;
    }
    for (i = 0; i < r->inverse_out.count; ++i) {
        const long k = r->inverse_out.at[i];
        long double sum = 0;
        for (j = 0, e = 0; j < n; ++j) {
            sum += full[j].re * w[e].re + full[j].im * w[e].im;
            e += k;
            if (e >= n) e -= n;
        }
        r->real_inverse[i] = sum / (long double)n;
    }
    free(full);
    free(w);
}

/* The sums behind the rms and the largest error of one transform, over
   the sampled outputs of every input: squared distances from the exact
   results (y scaled in long double, so that the scaling adds no rounding
   of its own) and squared exact results. */
typedef struct tally {
    char name[80];
    long double diff, norm, worst, top;
} tally;

static tally tallies[16];
static int tally_count;

static tally *tally_of(const char *who, const char *what)
{
    char name[80];
    int i;
    sprintf(name, "%.39s/%.39s", who, what);
    for (i = 0; i < tally_count; ++i)
        if (strcmp(tallies[i].name, name) == 0) return &tallies[i];
    if (tally_count == (int)(sizeof tallies / sizeof tallies[0])) exit(2);
    memset(&tallies[tally_count], 0, sizeof tallies[0]);
    strcpy(tallies[tally_count].name, name);
    return &tallies[tally_count++];
}

static void add(tally *t, long double d, long double m)
{
    t->diff += d, t->norm += m;
    if (!(d <= t->worst)) t->worst = d; /* NaN counts as the worst */
    if (m > t->top) t->top = m;
}

static void complex_error(const char *who, const char *what, const complex *y, const sample *s, const exact *want,
                          long double scale)
{
    tally *t = tally_of(who, what);
    long i;
    for (i = 0; i < s->count; ++i) {
        const long double dr = y[s->at[i]].re * scale - want[i].re, di = y[s->at[i]].im * scale - want[i].im;
        add(t, dr * dr + di * di, want[i].re * want[i].re + want[i].im * want[i].im);
    }
}

static void real_error(const char *who, const char *what, const real *y, const sample *s, const long double *want,
                       long double scale)
{
    tally *t = tally_of(who, what);
    long i;
    for (i = 0; i < s->count; ++i) {
        const long double d = y[s->at[i]] * scale - want[i];
        add(t, d * d, want[i] * want[i]);
    }
}

/* How far the build's own table is from the exact roots, as the rms and
   the largest distance (the roots have modulus 1). */
static void report_table(const char *name, const complex *t, long n)
{
    exact *w = exact_roots(n);
    long double diff = 0, worst = 0;
    long m;
    for (m = 0; m < n; ++m) {
        const long double dr = t[m].re - w[m].re, di = t[m].im - w[m].im, d = dr * dr + di * di;
        diff += d;
        if (d > worst) worst = d;
    }
    printf("%s/revolver\t%.3g\t%.3g\n", name, (double)sqrtl(diff / (long double)n), (double)sqrtl(worst));
    free(w);
}

/* One input of each kind: complex, real, and a half spectrum. */
typedef struct inputs {
    complex *x, *spectrum;
    real *xr;
} inputs;

static void measure_build(const build *b, const complex *table, const reference *r, long n, const inputs *in)
{
    complex *y = (complex *)malloc((size_t)n * sizeof *y), *x = (complex *)malloc((size_t)n * sizeof *x);
    real *xr = (real *)malloc((size_t)n * sizeof *xr);
    complex *t = (complex *)table;
    if (!y || !x || !xr) exit(2);
    /* The functions take their input as non-const in the older prototype. */
    memcpy(x, in->x, (size_t)n * sizeof *x);
    b->complex_fft(y, x, t);
    complex_error(b->name, "Complex_FFT", y, &r->complex_out, r->forward, 1);
    b->ifft(y, x, t);
    complex_error(b->name, "IFFT", y, &r->complex_out, r->backward, 1);
    memcpy(xr, in->xr, (size_t)n * sizeof *xr);
    b->real_fft(y, xr, t);
    complex_error(b->name, "Real_FFT", y, &r->real_out, r->real_forward, 1);
    if (b->real_ifft) {
        b->real_ifft(xr, in->spectrum, t);
        real_error(b->name, "Real_IFFT", xr, &r->inverse_out, r->real_inverse, 1);
    }
    free(y), free(x), free(xr);
}

/* FFTW's forward, backward, r2c and c2r plans on fftw_malloc buffers, out
   of place, as the timer makes them; the results of the backward ones are
   divided by N here, exactly. */
typedef struct fftw_set {
    FFTW(plan) forward, backward, r2c, c2r;
    complex *in, *out, *half_in;
    real *real_in;
} fftw_set;

static void plan_fftw(fftw_set *f, long n, unsigned flags)
{
    const int size = (int)n;
    f->in = (complex *)FFTW(malloc)((size_t)n * sizeof *f->in);
    f->out = (complex *)FFTW(malloc)((size_t)n * sizeof *f->out);
    f->real_in = (real *)FFTW(malloc)((size_t)n * sizeof *f->real_in);
    f->half_in = (complex *)FFTW(malloc)((size_t)(n / 2 + 1) * sizeof *f->half_in);
    if (!f->in || !f->out || !f->real_in || !f->half_in) exit(2);
    f->forward = FFTW(plan_dft_1d)(size, (FFTW(complex) *)f->in, (FFTW(complex) *)f->out, FFTW_FORWARD, flags);
    f->backward = FFTW(plan_dft_1d)(size, (FFTW(complex) *)f->in, (FFTW(complex) *)f->out, FFTW_BACKWARD, flags);
    f->r2c = FFTW(plan_dft_r2c_1d)(size, f->real_in, (FFTW(complex) *)f->out, flags);
    f->c2r = FFTW(plan_dft_c2r_1d)(size, (FFTW(complex) *)f->half_in, (real *)f->out, flags | FFTW_PRESERVE_INPUT);
    if (!f->forward || !f->backward || !f->r2c || !f->c2r) exit(2);
}

static void measure_fftw(const fftw_set *f, const reference *r, long n, const inputs *in)
{
    memcpy(f->in, in->x, (size_t)n * sizeof *f->in);
    memcpy(f->real_in, in->xr, (size_t)n * sizeof *f->real_in);
    memcpy(f->half_in, in->spectrum, (size_t)(n / 2 + 1) * sizeof *f->half_in);
    FFTW(execute)(f->forward);
    complex_error("fftw", "forward", f->out, &r->complex_out, r->forward, 1);
    FFTW(execute)(f->backward);
    complex_error("fftw", "backward", f->out, &r->complex_out, r->backward, 1.0L / (long double)n);
    FFTW(execute)(f->r2c);
    complex_error("fftw", "r2c", f->out, &r->real_out, r->real_forward, 1);
    FFTW(execute)(f->c2r);
    real_error("fftw", "c2r", (const real *)f->out, &r->inverse_out, r->real_inverse, 1.0L / (long double)n);
}

static void make_inputs(inputs *in, long n)
{
    long k;
    in->x = (complex *)malloc((size_t)n * sizeof *in->x);
    in->xr = (real *)malloc((size_t)n * sizeof *in->xr);
    in->spectrum = (complex *)malloc((size_t)(n / 2 + 1) * sizeof *in->spectrum);
    if (!in->x || !in->xr || !in->spectrum) exit(2);
    for (k = 0; k < n; ++k) in->x[k].re = uniform(), in->x[k].im = uniform();
    for (k = 0; k < n; ++k) in->xr[k] = uniform();
    for (k = 0; k <= n / 2; ++k) {
        in->spectrum[k].re = uniform();
        in->spectrum[k].im = k == 0 || 2 * k == n ? 0 : uniform();
    }
}

int main(int argc, char **argv)
{
    long n = 0;
    const char *wisdom = NULL;
    unsigned flags = FFTW_ESTIMATE;
    int i, trial, trials = 1, failures = 0;
    complex *tables[8];
    fftw_set fftw;
    for (i = 1; i < argc; ++i) {
        if (strncmp(argv[i], "--wisdom=", 9) == 0) wisdom = argv[i] + 9, flags = FFTW_MEASURE;
        else if (strcmp(argv[i], "--measure") == 0) flags = FFTW_MEASURE;
        else if (strncmp(argv[i], "--inputs=", 9) == 0) trials = atoi(argv[i] + 9);
        else if (argv[i][0] != '-' && n == 0) n = atol(argv[i]);
        else n = -1;
    }
    if (n < 2 || trials < 1) {
        fprintf(stderr, "usage: %s N [--inputs=COUNT] [--wisdom=FILE] [--measure]\n", argv[0]);
        return 2;
    }
    if (wisdom) FFTW(import_wisdom_from_filename)(wisdom);
    plan_fftw(&fftw, n, flags);
    printf("# N=%ld %s precision, %d random input%s; exact results at %ld of %ld complex outputs; FFTW %s\n", n,
           sizeof(real) == sizeof(float) ? "single" : "double", trials, trials > 1 ? "s" : "",
           n <= KV_ALL_OUTPUTS ? n : (long)KV_SAMPLED, n, flags == FFTW_ESTIMATE ? "FFTW_ESTIMATE" : "FFTW_MEASURE");
    printf("# name\trms relative error\tlargest error / largest output (for revolver: rms and largest"
           " distance from the exact roots)\n");
    for (i = 0; builds[i].name; ++i) {
        tables[i] = (complex *)malloc((size_t)n * sizeof *tables[i]);
        if (!tables[i] || i == 7) return 2;
        builds[i].revolver(n, tables[i]);
        report_table(builds[i].name, tables[i], n);
    }
    state ^= (unsigned long)n;
    for (trial = 0; trial < trials; ++trial) {
        inputs in;
        reference r;
        make_inputs(&in, n);
        make_reference(&r, n, in.x, in.xr, in.spectrum);
        for (i = 0; builds[i].name; ++i) measure_build(&builds[i], tables[i], &r, n, &in);
        measure_fftw(&fftw, &r, n, &in);
        free(in.x), free(in.xr), free(in.spectrum);
        free(r.forward), free(r.backward), free(r.real_forward), free(r.real_inverse);
        free(r.complex_out.at), free(r.real_out.at), free(r.inverse_out.at);
    }
    for (i = 0; i < tally_count; ++i) {
        const tally *t = &tallies[i];
        const double rms = (double)sqrtl(t->diff / t->norm);
        /* A result off by far more than rounding is a fault, not a figure. */
        if (!(rms <= (sizeof(real) == sizeof(float) ? 1e-4 : 1e-10))) {
            fprintf(stderr, "accuracy: %s of length %ld is off by %.3g (rms)\n", t->name, n, rms);
            ++failures;
        }
        printf("%s\t%.3g\t%.3g\n", t->name, rms, (double)sqrtl(t->worst / t->top));
    }
    return failures ? 1 : 0;
}
