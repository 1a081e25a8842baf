#define _POSIX_C_SOURCE 200112L
#include "timing.h"

#include <stdlib.h>
#include <string.h>
#include <time.h>

static double seconds(clockid_t clock)
{
    struct timespec t;
    clock_gettime(clock, &t);
    return (double)t.tv_sec + 1e-9 * (double)t.tv_nsec;
}

/* Seconds that the calls took on the chosen clock, and on the other. */
static double seconds_for(const kv_candidate *c, long calls, int cpu_clock, double *other)
{
    const clockid_t chosen = cpu_clock ? CLOCK_THREAD_CPUTIME_ID : CLOCK_MONOTONIC;
    const clockid_t second = cpu_clock ? CLOCK_MONOTONIC : CLOCK_THREAD_CPUTIME_ID;
    double start2 = seconds(second), start = seconds(chosen), took;
    long i;
    for (i = 0; i < calls; ++i) c->call(c->context);
    took = seconds(chosen) - start;
    if (other) *other = seconds(second) - start2;
    return took;
}

/* The first call is timed on its own: it pays for page faults in the
   output and, for a transform with work memory, for the first malloc of
   it, which is what a program that calls a transform once sees. */
static void calibrate(kv_candidate *c, const kv_timing_options *o)
{
    long calls = 1;
    double took;
    int i;
    c->first_call = 1e6 * seconds_for(c, 1, o->cpu_clock, NULL);
    for (i = 0; i < o->warmup_calls; ++i) c->call(c->context);
    /* A tenth of the sample time is long enough for the clock and short
       enough not to double the run. */
    while ((took = seconds_for(c, calls, o->cpu_clock, NULL)) < o->sample_seconds / 10 && calls < (1L << 40))
        calls *= 2;
    calls = (long)(o->sample_seconds * (double)calls / took + 0.5);
    c->calls_per_sample = calls < 1 ? 1 : calls;
}

static int by_value(const void *a, const void *b)
{
    double x = *(const double *)a, y = *(const double *)b;
    return (x > y) - (x < y);
}

/* Sorts the samples: their order is of no use once the run is over. */
static double median_of(double *samples, int count)
{
    qsort(samples, (size_t)count, sizeof *samples, by_value);
    return count % 2 ? samples[count / 2] : 0.5 * (samples[count / 2 - 1] + samples[count / 2]);
}

static void take_sample(kv_candidate *c, int round, int cpu_clock)
{
    double other, took = seconds_for(c, c->calls_per_sample, cpu_clock, &other);
    c->samples[round] = 1e6 * took / (double)c->calls_per_sample;
    c->other_samples[round] = 1e6 * other / (double)c->calls_per_sample;
}

int kv_time_all(kv_candidate *candidates, int count, const kv_timing_options *o)
{
    int i, round;
    for (i = 0; i < count; ++i) {
        candidates[i].samples = (double *)calloc((size_t)o->samples, sizeof(double));
        candidates[i].other_samples = (double *)calloc((size_t)o->samples, sizeof(double));
        if (!candidates[i].samples || !candidates[i].other_samples) return -1;
    }
    for (i = 0; i < count; ++i) calibrate(&candidates[i], o);
    if (o->blocked) {
        for (i = 0; i < count; ++i)
            for (round = 0; round < o->samples; ++round) take_sample(&candidates[i], round, o->cpu_clock);
    } else {
        for (round = 0; round < o->samples; ++round)
            for (i = 0; i < count; ++i) take_sample(&candidates[(i + round) % count], round, o->cpu_clock);
    }
    for (i = 0; i < count; ++i) {
        kv_candidate *c = &candidates[i];
        c->median = median_of(c->samples, o->samples);
        c->fastest = c->samples[0];
        c->slowest = c->samples[o->samples - 1];
        c->other_median = median_of(c->other_samples, o->samples);
    }
    return 0;
}

void kv_free_samples(kv_candidate *candidates, int count)
{
    int i;
    for (i = 0; i < count; ++i) {
        free(candidates[i].samples);
        free(candidates[i].other_samples);
        candidates[i].samples = candidates[i].other_samples = NULL;
    }
}
