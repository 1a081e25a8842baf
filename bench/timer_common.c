#define _POSIX_C_SOURCE 200112L
#include "timer_common.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

double kv_error(const complex *got, const complex_double *want, long count, double scale)
{
    double worst = 0, largest = 0;
    long k;
    for (k = 0; k < count; ++k) {
        double d = hypot(got[k].re * scale - want[k].re, got[k].im * scale - want[k].im);
        double w = hypot(want[k].re, want[k].im);
        if (!(d <= worst)) worst = d; /* NaN counts as the worst */
        if (w > largest) largest = w;
    }
    return largest > 0 ? worst / largest : worst;
}

double kv_error_real(const real *got, const real *want, long count, double scale)
{
    double worst = 0, largest = 0;
    long k;
    for (k = 0; k < count; ++k) {
        double d = fabs(got[k] * scale - want[k]);
        if (!(d <= worst)) worst = d;
        if (fabs(want[k]) > largest) largest = fabs(want[k]);
    }
    return largest > 0 ? worst / largest : worst;
}

int kv_failed(const char *what, double error)
{
    /* Loose enough for any correct transform of either precision, tight
       enough that a wrong sign, scale, table or index fails. */
    const double tolerance = sizeof(real) == sizeof(float) ? 1e-4 : 1e-8;
    if (error <= tolerance) return 0;
    fprintf(stderr, "%s is off by %.3e relative to FFTW in double precision\n", what, error);
    return 1;
}

int kv_wanted(const kv_list *list, const char *name)
{
    const char *p = list->only;
    if (!p) return 1;
    while (*p) {
        size_t len = strcspn(p, ",");
        char word[128];
        if (len > 0 && len < sizeof word) {
            memcpy(word, p, len);
            word[len] = '\0';
            if (strstr(name, word)) return 1;
        }
        p += len;
        if (*p == ',') ++p;
    }
    return 0;
}

int kv_add(kv_list *list, const char *name, void (*call)(const void *), double (*error)(const void *),
           const void *context)
{
    kv_candidate *c;
    char *copy;
    if (!kv_wanted(list, name)) return 0;
    if (list->count == list->capacity) {
        int capacity = list->capacity ? 2 * list->capacity : 16;
        kv_candidate *items = (kv_candidate *)realloc(list->items, (size_t)capacity * sizeof *items);
        if (!items) return -1;
        list->items = items;
        list->capacity = capacity;
    }
    copy = (char *)malloc(strlen(name) + 1);
    if (!copy) return -1;
    strcpy(copy, name);
    c = &list->items[list->count++];
    memset(c, 0, sizeof *c);
    c->name = copy;
    c->call = call;
    c->error = error;
    c->context = context;
    return 0;
}

static int alignment;

void kv_set_alignment(int bytes) { alignment = bytes; }

/* The buffers live as long as the process: nothing is freed. */
void *kv_alloc(size_t bytes)
{
    void *p = NULL;
    if (alignment == 0) {
        p = malloc(bytes);
    } else if (posix_memalign(&p, 64, bytes + 64) == 0) {
        /* 16 means 16 and not 32 or 64: the worst a malloc may give. */
        if (alignment == 16) p = (char *)p + 16;
    } else {
        p = NULL;
    }
    if (!p) {
        fprintf(stderr, "out of memory for %lu bytes\n", (unsigned long)bytes);
        exit(2);
    }
    return p;
}
