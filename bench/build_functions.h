/* The functions of one compiled generated file, renamed by bench/compile_object
   to <build>_revolver, <build>_Complex_FFT and so on. Declares them for a list
   X(build) X(build) ...: KV_DECLARE(b) for every file, KV_DECLARE_REAL_IFFT(b)
   for fast files, whose Real_IFFT bench/run finds and announces with
   HAVE_REAL_IFFT (KV_REAL_IFFT_OF(b) is then its name, else NULL). The
   includer defines real and complex as the file's precision has them. */
#ifndef KV_BUILD_FUNCTIONS_H
#define KV_BUILD_FUNCTIONS_H

#ifdef HAVE_REAL_IFFT
#define KV_DECLARE_REAL_IFFT(b) void b##_Real_IFFT(real *, const complex *, const complex *);
#define KV_REAL_IFFT_OF(b) b##_Real_IFFT
#else
#define KV_DECLARE_REAL_IFFT(b)
#define KV_REAL_IFFT_OF(b) NULL
#endif

#define KV_DECLARE(b)                                     \
    void b##_revolver(long, complex *);                   \
    void b##_Complex_FFT(complex *, complex *, complex *); \
    void b##_IFFT(complex *, complex *, complex *);       \
    void b##_Real_FFT(complex *, real *, complex *);

#endif
