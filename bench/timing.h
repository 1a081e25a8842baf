/* Interleaved timing of a set of calls, for bench/transform_timer.c.

   Every candidate is one call that is repeated on the same data. Its
   repetition count is chosen so that one sample takes about the sample
   time; the samples of all candidates are then taken in turn, the order
   rotating by one from round to round, so that a slow spell of a shared
   machine falls on every candidate alike rather than on whichever ran
   during it. The figure reported is the median sample.

   Each sample is timed on two clocks: the wall clock, which is what a
   program sees, and the CPU time of the thread, which leaves out the time
   the thread waited while other programs ran (it still pays for the caches
   they took). On an idle machine the two agree; on a shared one the
   options choose which one the figures come from. */
#ifndef KV_TIMING_H
#define KV_TIMING_H

typedef struct kv_candidate {
    const char *name;
    void (*call)(const void *context);
    const void *context;
    /* Runs the call once more and returns its error relative to the exact
       result. Checked after the timing, so that the first call timed is
       the first call made. */
    double (*error)(const void *context);

    /* Filled in by kv_time_all, times in microseconds per call, on the
       chosen clock; other_median on the other one. */
    double first_call;
    long calls_per_sample;
    double median, fastest, slowest, other_median;
    double *samples, *other_samples;
} kv_candidate;

typedef struct kv_timing_options {
    int samples;
    double sample_seconds;
    /* Calls of each candidate made and not timed before its calibration. */
    int warmup_calls;
    /* Non-zero: all samples of one candidate, then the next (for showing
       what interleaving is for). */
    int blocked;
    /* Non-zero: the figures come from the thread's CPU time. */
    int cpu_clock;
} kv_timing_options;

/* Returns 0, or -1 when memory runs out. */
int kv_time_all(kv_candidate *candidates, int count, const kv_timing_options *options);
void kv_free_samples(kv_candidate *candidates, int count);

#endif
