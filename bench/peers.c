/* The libraries the generated transforms are measured against, used the
   way their manuals advise: FFTW with buffers from fftw_malloc and
   FFTW_MEASURE plans, out of place, with and without its vector code
   (FFTW_NO_SIMD, the peer of a build without -march), in the precision of
   the generated file; kissfft (Debian ships its float build only) with
   kiss_fft for complex and kiss_fftr for real input. */
#define _POSIX_C_SOURCE 200112L
#include <fftw3.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "timer_common.h"

#ifdef KV_SINGLE
#define FFTW(name) fftwf_##name
#include <kiss_fft.h>
#include <kiss_fftr.h>
#else
#define FFTW(name) fftw_##name
#endif

typedef enum kind { FORWARD, BACKWARD, R2C, C2R } kind;

typedef struct fftw_job {
    FFTW(plan) plan;
    kind what;
    const kv_data *data;
    const void *out;
} fftw_job;

static fftw_job fftw_jobs[8];
static int fftw_job_count;

static void run_fftw(const void *context) { FFTW(execute)(((const fftw_job *)context)->plan); }

/* The result of a peer against the exact one; shared with kissfft, whose
   results have the same layout. */
static double error_of(kind what, const kv_data *d, const void *out)
{
    const long n = d->n;
    switch (what) {
    case FORWARD: return kv_error((const complex *)out, d->forward, n, 1);
    case BACKWARD: return kv_error((const complex *)out, d->backward, n, 1);
    case R2C: return kv_error((const complex *)out, d->real_forward, n / 2 + 1, 1);
    case C2R: return kv_error_real((const real *)out, d->real_input, n, 1.0 / (double)n);
    }
    return 1;
}

static double fftw_error(const void *context)
{
    const fftw_job *j = (const fftw_job *)context;
    run_fftw(j);
    return error_of(j->what, j->data, j->out);
}

/* Plans one transform if a candidate of this name is wanted. Planning
   with FFTW_MEASURE overwrites the buffers, so kv_add_fftw fills the
   inputs after the last plan. */
static int add_plan(kv_list *list, const char *lib, unsigned flags, kind what, const kv_data *d, void *in,
                    void *out)
{
    static const char *const names[] = {"forward", "backward", "r2c", "c2r"};
    const int n = (int)d->n;
    char name[64];
    fftw_job *j;
    clock_t start;
    sprintf(name, "%s/%s", lib, names[what]);
    if (!kv_wanted(list, name)) return 0;
    if (fftw_job_count == (int)(sizeof fftw_jobs / sizeof fftw_jobs[0])) return -1;
    j = &fftw_jobs[fftw_job_count++];
    j->what = what;
    j->data = d;
    j->out = out;
    start = clock();
    switch (what) {
    case FORWARD:
    case BACKWARD:
        j->plan = FFTW(plan_dft_1d)(n, (FFTW(complex) *)in, (FFTW(complex) *)out,
                                    what == FORWARD ? FFTW_FORWARD : FFTW_BACKWARD, flags);
        break;
    case R2C: j->plan = FFTW(plan_dft_r2c_1d)(n, (real *)in, (FFTW(complex) *)out, flags); break;
    case C2R:
        /* c2r overwrites its input unless told not to; Real_IFFT leaves
           its input alone, so FFTW is asked to do the same. */
        j->plan = FFTW(plan_dft_c2r_1d)(n, (FFTW(complex) *)in, (real *)out, flags | FFTW_PRESERVE_INPUT);
        break;
    }
    if (!j->plan) {
        fprintf(stderr, "FFTW has no plan for %s\n", name);
        return -1;
    }
    /* What a program pays once before its first call; small when the
       wisdom file already held the plan. */
    printf("# planning %s took %.3f s of CPU time\n", name, (double)(clock() - start) / CLOCKS_PER_SEC);
    return kv_add(list, name, run_fftw, fftw_error, j);
}

static double planning_limit = -1;

void kv_set_planning_limit(double seconds) { planning_limit = seconds; }

int kv_add_fftw(kv_list *list, const kv_data *d, const char *wisdom)
{
    const long n = d->n, half = n / 2 + 1;
    complex *in = (complex *)FFTW(malloc)((size_t)n * sizeof *in);
    complex *out = (complex *)FFTW(malloc)((size_t)n * sizeof *out);
    real *real_in = (real *)FFTW(malloc)((size_t)n * sizeof *real_in);
    complex *half_out = (complex *)FFTW(malloc)((size_t)half * sizeof *half_out);
    complex *spectrum = (complex *)FFTW(malloc)((size_t)half * sizeof *spectrum);
    real *real_out = (real *)FFTW(malloc)((size_t)n * sizeof *real_out);
    int simd;
    if (!in || !out || !real_in || !half_out || !spectrum || !real_out) return -1;
    if (wisdom) FFTW(import_wisdom_from_filename)(wisdom);
    FFTW(set_timelimit)(planning_limit < 0 ? FFTW_NO_TIMELIMIT : planning_limit);
    for (simd = 1; simd >= 0; --simd) {
        const char *lib = simd ? "fftw" : "fftw_nosimd";
        const unsigned flags = FFTW_MEASURE | (simd ? 0 : FFTW_NO_SIMD);
        if (add_plan(list, lib, flags, FORWARD, d, in, out) || add_plan(list, lib, flags, BACKWARD, d, in, out) ||
            add_plan(list, lib, flags, R2C, d, real_in, half_out))
            return -1;
#ifdef HAVE_REAL_IFFT
        /* Real_IFFT's peer: the half spectrum to N reals. */
        if (add_plan(list, lib, flags, C2R, d, spectrum, real_out)) return -1;
#endif
    }
    memcpy(in, d->input, (size_t)n * sizeof *in);
    memcpy(real_in, d->real_input, (size_t)n * sizeof *real_in);
    memcpy(spectrum, d->spectrum, (size_t)half * sizeof *spectrum);
    if (wisdom) FFTW(export_wisdom_to_filename)(wisdom);
    return 0;
}

void kv_release_peers(void)
{
    int i;
    for (i = 0; i < fftw_job_count; ++i) FFTW(destroy_plan)(fftw_jobs[i].plan);
    fftw_job_count = 0;
}

#ifdef KV_SINGLE
/* kissfft has butterflies up to radix 5 and a generic one that costs p
   operations per output for any other prime p: above this it would time
   an O(N p) transform, which no one would call. */
static const long kiss_largest_prime = 100;

typedef struct kiss_job {
    kind what;
    kiss_fft_cfg complex_cfg;
    kiss_fftr_cfg real_cfg;
    const kv_data *data;
    const void *in;
    void *out;
} kiss_job;

static void run_kiss(const void *c)
{
    const kiss_job *j = (const kiss_job *)c;
    switch (j->what) {
    case FORWARD:
    case BACKWARD: kiss_fft(j->complex_cfg, (const kiss_fft_cpx *)j->in, (kiss_fft_cpx *)j->out); break;
    case R2C: kiss_fftr(j->real_cfg, (const kiss_fft_scalar *)j->in, (kiss_fft_cpx *)j->out); break;
    case C2R: kiss_fftri(j->real_cfg, (const kiss_fft_cpx *)j->in, (kiss_fft_scalar *)j->out); break;
    }
}

static double kiss_error(const void *context)
{
    const kiss_job *j = (const kiss_job *)context;
    run_kiss(j);
    return error_of(j->what, j->data, j->out);
}

static long largest_prime_factor(long n)
{
    long p, largest = 1;
    for (p = 2; p * p <= n; ++p)
        while (n % p == 0) n /= p, largest = p;
    return n > 1 ? n : largest;
}

/* Buffers from malloc, as kissfft's own KISS_FFT_MALLOC. */
int kv_add_kiss(kv_list *list, const kv_data *d)
{
    static const char *const names[] = {"kiss/forward", "kiss/backward", "kiss/r2c", "kiss/c2r"};
    static kiss_job jobs[4];
    const long n = d->n, p = largest_prime_factor(n);
    void *out = malloc((size_t)n * sizeof(complex));
    int i, count = 3;
    if (!out) return -1;
    if (p > kiss_largest_prime) {
        printf("# kiss: not timed, prime factor %ld\n", p);
        return 0;
    }
#ifdef HAVE_REAL_IFFT
    count = 4;
#endif
    for (i = 0; i < count; ++i) {
        kiss_job *j = &jobs[i];
        j->what = (kind)i;
        j->data = d;
        j->out = out;
        j->in = j->what == R2C ? (const void *)d->real_input : j->what == C2R ? (const void *)d->spectrum
                                                                              : (const void *)d->input;
        if (j->what == FORWARD || j->what == BACKWARD) {
            j->complex_cfg = kiss_fft_alloc((int)n, j->what == BACKWARD, NULL, NULL);
            if (!j->complex_cfg) return -1;
        } else if (n % 2 != 0) {
            printf("# kiss: no real transform of odd length\n");
            break;
        } else {
            j->real_cfg = kiss_fftr_alloc((int)n, j->what == C2R, NULL, NULL);
            if (!j->real_cfg) return -1;
        }
        if (kv_add(list, names[i], run_kiss, kiss_error, j)) return -1;
    }
    return 0;
}
#else
int kv_add_kiss(kv_list *list, const kv_data *data)
{
    (void)list;
    (void)data;
    return 0;
}
#endif
