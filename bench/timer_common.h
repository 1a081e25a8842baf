/* What the parts of the transform timer share: the number types of the
   generated file, the data every candidate transforms with its exact
   results, the check that keeps a wrong result out of the table, and the
   list the candidates are collected in. */
#ifndef KV_TIMER_COMMON_H
#define KV_TIMER_COMMON_H

#include <stddef.h>

#include "timing.h"

#ifdef KV_SINGLE
typedef float real;
#else
typedef double real;
#endif
/* Laid out as the generated file's complex, FFTW's complex of the same
   precision and kiss_fft_cpx: two reals. */
typedef struct { real re, im; } complex;
typedef struct { double re, im; } complex_double;

typedef struct kv_data {
    long n;
    complex *input;
    real *real_input;
    /* The DFT of real_input, all N outputs rounded to real: the input of
       the inverse real transforms, whose result is then real_input. */
    complex *spectrum;
    /* FFTW in double precision on the same (rounded) inputs: the DFT of
       input, its inverse without the division by N, and the DFT of
       real_input; N entries each. */
    complex_double *forward, *backward, *real_forward;
} kv_data;

/* The largest distance of got[k] * scale from want[k], k < count, relative
   to the largest |want[k]|. */
double kv_error(const complex *got, const complex_double *want, long count, double scale);
double kv_error_real(const real *got, const real *want, long count, double scale);
/* Reports an error above the tolerance of the precision on stderr;
   returns 1 then, else 0. */
int kv_failed(const char *what, double error);

typedef struct kv_list {
    kv_candidate *items;
    int count, capacity;
    /* Only names that contain one of these comma-separated words are
       timed; null for all. */
    const char *only;
} kv_list;

/* Whether a candidate of this name is to be timed at all; peers use it to
   skip planning what is not timed. */
int kv_wanted(const kv_list *list, const char *name);
/* Adds a copy of the name, if wanted; returns 0, or -1 when memory runs
   out. */
int kv_add(kv_list *list, const char *name, void (*call)(const void *), double (*error)(const void *),
           const void *context);

/* A buffer of bytes in the alignment chosen with --align: plain malloc
   (16 bytes on x86-64 glibc), or exactly 16 or 64 bytes. */
void *kv_alloc(size_t bytes);
void kv_set_alignment(int alignment);

/* FFTW and kissfft beside the generated transforms: add what is to be
   timed; return 0, or -1 when something cannot be set up. */
int kv_add_fftw(kv_list *list, const kv_data *data, const char *wisdom);
/* A bound on FFTW's planning time in seconds (fftw_set_timelimit), for the
   lengths where measuring every plan would take minutes; negative for none. */
void kv_set_planning_limit(double seconds);
int kv_add_kiss(kv_list *list, const kv_data *data);
void kv_release_peers(void);

#endif
