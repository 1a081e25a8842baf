/* Times generated transforms the way a program that calls them sees them:
   the generated file compiled on its own by each compiler (as C, or as C++)
   into an object whose functions are renamed <build>_Complex_FFT and so on
   (bench/run does that with objcopy), linked here and called through plain
   function pointers on buffers from malloc, beside FFTW and kissfft.

   bench/run compiles it per length and precision with
     -DKV_BUILDS='X(gcc_native) X(clang_native) ...'  the fast-style builds,
     -DKV_CLASSIC_BUILDS='X(classic_O2)'              builds of the classic file,
     -DKV_SINGLE                                      for single precision,
     -DHAVE_REAL_IFFT                                 when the fast file has Real_IFFT.

   Usage: transform_timer N [--samples=S] [--sample-time=SECONDS]
            [--align=malloc|16|64] [--order=rotate|blocked] [--warmup=CALLS]
            [--clock=cpu|wall] [--only=WORD,...] [--wisdom=FILE]
            [--plan-time-limit=SECONDS]
   Writes one line per candidate: name, then microseconds per call for the
   median, fastest and slowest sample, the calls per sample, the first call
   and the median on the other clock; tab-separated, after comment lines
   that start with '#'. */
#define _POSIX_C_SOURCE 200112L
#include <fftw3.h>
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "timer_common.h"

#ifndef KV_BUILDS
#define KV_BUILDS
#endif
#ifndef KV_CLASSIC_BUILDS
#define KV_CLASSIC_BUILDS
#endif

typedef void (*complex_transform)(complex *destination, complex *source, complex *table);
typedef void (*real_transform)(complex *destination, real *source, complex *table);
typedef void (*real_inverse)(real *destination, const complex *source, const complex *table);

typedef struct build {
    const char *name;
    void (*revolver)(long n, complex *table);
    complex_transform complex_fft, ifft;
    real_transform real_fft;
    real_inverse real_ifft; /* null where the file has none */
} build;

/* ---- Real_IFFT slot ----------------------------------------------------
   Real_IFFT<N>(real *dst, const complex *src, const complex *table), the
   inverse of Real_FFT divided by N, is timed against FFTW's c2r (and
   kiss_fftri) when bench/run finds it in the fast file and defines
   HAVE_REAL_IFFT. Its input is the whole N-entry spectrum Real_FFT gives. */
#include "build_functions.h"

#define X(b) KV_DECLARE(b) KV_DECLARE_REAL_IFFT(b)
KV_BUILDS
#undef X
#define X(b) KV_DECLARE(b)
KV_CLASSIC_BUILDS
#undef X

static const build builds[] = {
#define X(b) {#b, b##_revolver, b##_Complex_FFT, b##_IFFT, b##_Real_FFT, KV_REAL_IFFT_OF(b)},
    KV_BUILDS
#undef X
#define X(b) {#b, b##_revolver, b##_Complex_FFT, b##_IFFT, b##_Real_FFT, NULL},
    KV_CLASSIC_BUILDS
#undef X
    {NULL, NULL, NULL, NULL, NULL, NULL}};

typedef enum kind { COMPLEX_FFT, IFFT, REAL_FFT, REAL_IFFT } kind;

typedef struct job {
    const build *b;
    kind what;
    const kv_data *data;
    complex *table, *output;
    real *real_output;
} job;

static void run_job(const void *c)
{
    const job *j = (const job *)c;
    switch (j->what) {
    case COMPLEX_FFT: j->b->complex_fft(j->output, j->data->input, j->table); break;
    case IFFT: j->b->ifft(j->output, j->data->input, j->table); break;
    case REAL_FFT: j->b->real_fft(j->output, j->data->real_input, j->table); break;
    case REAL_IFFT: j->b->real_ifft(j->real_output, j->data->spectrum, j->table); break;
    }
}

static double job_error(const void *c)
{
    const job *j = (const job *)c;
    const kv_data *d = j->data;
    run_job(j);
    switch (j->what) {
    case COMPLEX_FFT: return kv_error(j->output, d->forward, d->n, 1);
    case IFFT: return kv_error(j->output, d->backward, d->n, (double)d->n);
    case REAL_FFT: return kv_error(j->output, d->real_forward, d->n, 1);
    case REAL_IFFT: return kv_error_real(j->real_output, d->real_input, d->n, 1);
    }
    return 1;
}

typedef struct options {
    long n;
    kv_timing_options timing;
    const char *only, *wisdom;
    int alignment;
} options;

static int parse(int argc, char **argv, options *o)
{
    int i;
    o->n = 0;
    o->timing.samples = 5;
    o->timing.sample_seconds = 0.1;
    o->timing.warmup_calls = 0;
    o->timing.blocked = 0;
    o->timing.cpu_clock = 1;
    o->only = o->wisdom = NULL;
    o->alignment = 0;
    for (i = 1; i < argc; ++i) {
        const char *a = argv[i];
        if (strncmp(a, "--samples=", 10) == 0) o->timing.samples = atoi(a + 10);
        else if (strncmp(a, "--sample-time=", 14) == 0) o->timing.sample_seconds = atof(a + 14);
        else if (strncmp(a, "--warmup=", 9) == 0) o->timing.warmup_calls = atoi(a + 9);
        else if (strcmp(a, "--order=rotate") == 0) o->timing.blocked = 0;
        else if (strcmp(a, "--order=blocked") == 0) o->timing.blocked = 1;
        else if (strcmp(a, "--clock=wall") == 0) o->timing.cpu_clock = 0;
        else if (strcmp(a, "--clock=cpu") == 0) o->timing.cpu_clock = 1;
        else if (strcmp(a, "--align=malloc") == 0) o->alignment = 0;
        else if (strcmp(a, "--align=16") == 0) o->alignment = 16;
        else if (strcmp(a, "--align=64") == 0) o->alignment = 64;
        else if (strncmp(a, "--only=", 7) == 0) o->only = a + 7;
        else if (strncmp(a, "--wisdom=", 9) == 0) o->wisdom = a + 9;
        else if (strncmp(a, "--plan-time-limit=", 18) == 0) kv_set_planning_limit(atof(a + 18));
        else if (a[0] != '-' && o->n == 0) o->n = atol(a);
        else return -1;
    }
    return o->n >= 2 && o->timing.samples >= 1 && o->timing.sample_seconds > 0 ? 0 : -1;
}

/* Random inputs in [-1, 1) from a fixed seed, and their exact results. */
static void make_data(kv_data *d, long n)
{
    fftw_complex *x = fftw_alloc_complex((size_t)n), *y = fftw_alloc_complex((size_t)n);
    fftw_plan forward = fftw_plan_dft_1d((int)n, x, y, FFTW_FORWARD, FFTW_ESTIMATE);
    fftw_plan backward = fftw_plan_dft_1d((int)n, x, y, FFTW_BACKWARD, FFTW_ESTIMATE);
    unsigned long state = 0x9e3779b97f4a7c15UL ^ (unsigned long)n;
    long k;
    d->n = n;
    d->input = (complex *)kv_alloc((size_t)n * sizeof *d->input);
    d->real_input = (real *)kv_alloc((size_t)n * sizeof *d->real_input);
    d->spectrum = (complex *)kv_alloc((size_t)n * sizeof *d->spectrum);
    d->forward = (complex_double *)malloc((size_t)n * sizeof *d->forward);
    d->backward = (complex_double *)malloc((size_t)n * sizeof *d->backward);
    d->real_forward = (complex_double *)malloc((size_t)n * sizeof *d->real_forward);
    if (!x || !y || !forward || !backward || !d->forward || !d->backward || !d->real_forward) exit(2);
    for (k = 0; k < 3 * n; ++k) {
        real v;
        state = state * 6364136223846793005UL + 1442695040888963407UL;
        v = (real)((double)(state >> 11) / 4503599627370496.0 - 1.0);
        if (k < 2 * n) (k % 2 ? &d->input[k / 2].im : &d->input[k / 2].re)[0] = v;
        else d->real_input[k - 2 * n] = v;
    }
    for (k = 0; k < n; ++k) x[k][0] = d->input[k].re, x[k][1] = d->input[k].im;
    fftw_execute(forward);
    memcpy(d->forward, y, (size_t)n * sizeof *d->forward);
    fftw_execute(backward);
    memcpy(d->backward, y, (size_t)n * sizeof *d->backward);
    for (k = 0; k < n; ++k) x[k][0] = d->real_input[k], x[k][1] = 0;
    fftw_execute(forward);
    memcpy(d->real_forward, y, (size_t)n * sizeof *d->real_forward);
    for (k = 0; k < n; ++k) d->spectrum[k].re = (real)y[k][0], d->spectrum[k].im = (real)y[k][1];
    fftw_destroy_plan(forward);
    fftw_destroy_plan(backward);
    fftw_free(x);
    fftw_free(y);
}

/* Adds the transforms of one build, with a table from its own revolver. */
static int add_build(kv_list *list, const build *b, const kv_data *d, complex *output, real *real_output)
{
    static const char *const names[] = {"Complex_FFT", "IFFT", "Real_FFT", "Real_IFFT"};
    complex *table = (complex *)kv_alloc((size_t)d->n * sizeof *table);
    int i;
    b->revolver(d->n, table);
    for (i = 0; i < 4; ++i) {
        job *j;
        char name[96];
        if (i == REAL_IFFT && !b->real_ifft) break;
        j = (job *)malloc(sizeof *j);
        if (!j) return -1;
        j->b = b;
        j->what = (kind)i;
        j->data = d;
        j->table = table;
        j->output = output;
        j->real_output = real_output;
        sprintf(name, "%s/%s", b->name, names[i]);
        if (kv_add(list, name, run_job, job_error, j)) return -1;
    }
    return 0;
}

static unsigned long offset64(const void *p) { return (unsigned long)((size_t)p % 64); }

static void *run(void *argument)
{
    static int status;
    const options *o = (const options *)argument;
    kv_list list = {NULL, 0, 0, NULL};
    kv_data d;
    complex *output;
    real *real_output;
    int i, failed = 0;

    list.only = o->only;
    kv_set_alignment(o->alignment);
    make_data(&d, o->n);
    output = (complex *)kv_alloc((size_t)o->n * sizeof *output);
    real_output = (real *)kv_alloc((size_t)o->n * sizeof *real_output);
    status = 2;
    for (i = 0; builds[i].name; ++i)
        if (add_build(&list, &builds[i], &d, output, real_output)) return &status;
    if (kv_add_fftw(&list, &d, o->wisdom) || kv_add_kiss(&list, &d)) return &status;
    printf("# N=%ld %s precision, %d samples of %.3f s, order %s, %d warm-up calls, %s clock\n", o->n,
           sizeof(real) == sizeof(float) ? "single" : "double", o->timing.samples, o->timing.sample_seconds,
           o->timing.blocked ? "blocked" : "rotating", o->timing.warmup_calls,
           o->timing.cpu_clock ? "thread CPU" : "wall");
    printf("# byte offset mod 64 of the input, the output and the first table: %lu %lu %lu\n", offset64(d.input),
           offset64(output), list.count ? offset64(((const job *)list.items[0].context)->table) : 0UL);
    fflush(stdout);
    if (kv_time_all(list.items, list.count, &o->timing) != 0) return &status;
    /* A time of a wrong result is worthless: none is written then. */
    for (i = 0; i < list.count; ++i) {
        char what[128];
        sprintf(what, "%s of length %ld", list.items[i].name, o->n);
        failed += kv_failed(what, list.items[i].error(list.items[i].context));
    }
    if (failed) {
        status = 1;
        return &status;
    }
    printf("# name\tmedian\tfastest\tslowest\tcalls per sample\tfirst call\tmedian on the other clock"
           " (microseconds)\n");
    for (i = 0; i < list.count; ++i) {
        const kv_candidate *c = &list.items[i];
        printf("%s\t%.4g\t%.4g\t%.4g\t%ld\t%.4g\t%.4g\n", c->name, c->median, c->fastest, c->slowest,
               c->calls_per_sample, c->first_call, c->other_median);
    }
    kv_free_samples(list.items, list.count);
    kv_release_peers();
    status = 0;
    return &status;
}

int main(int argc, char **argv)
{
    options o;
    pthread_attr_t attr;
    pthread_t thread;
    void *status = NULL;
    if (parse(argc, argv, &o) != 0) {
        fprintf(stderr,
                "usage: %s N [--samples=S] [--sample-time=SECONDS] [--align=malloc|16|64]\n"
                "          [--order=rotate|blocked] [--warmup=CALLS] [--clock=cpu|wall] [--only=WORD,...]\n"
                "          [--wisdom=FILE] [--plan-time-limit=SECONDS]\n",
                argv[0]);
        return 2;
    }
    /* The classic style keeps two N-element arrays on the stack. */
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, (size_t)64 << 20);
    if (pthread_create(&thread, &attr, run, &o) != 0) return 2;
    pthread_join(thread, &status);
    return *(int *)status;
}
