/* gcc 12.2 deletes the calls of pass() here at -O2 and -O3 (the program
   prints a difference and exits with 1); gcc -O1, -O2 -fno-ipa-cp,
   -O2 -fno-ivopts and clang are right. The code has no undefined behaviour
   (no restrict, no type punning, every index in range; clean under
   -fsanitize=address,undefined).

   What happens (see -fdump-ipa-cp -fdump-tree-local-pure-const2): ipa-cp
   clones pass() for L = 13 and tw = 8; ivopts rewrites the clone's twiddle
   loads T[4 e] and T[8 e] as MEM[(double *)0B + (T - 4 T) + 4 iv]; the late
   local pure-const pass reports "NULL memory access; terminating BB", so it
   never sees the stores and declares the clone pure; main drops both calls.

   The generated transforms keep their passes out of this with
   __attribute__((noipa)). Build: gcc -O2 gcc12_pure_clone.c -lm */
#include <math.h>
#include <stdio.h>

typedef struct { double re, im; } complex;

static void pass(complex *d, long L, long R, const complex *T, long tw)
{
	complex v[11];
	complex *x;
	long b, k, e;
	for (b = 0; b < R; b++) {
		x = d + b * 11 * L;
		for (k = 0; k < L; k++) {
			e = k * tw;
			v[0].re = x[k].re * T[0 * e].re - x[k].im * T[0 * e].im;
			v[0].im = x[k].re * T[0 * e].im + x[k].im * T[0 * e].re;
			v[1].re = x[k + 1 * L].re * T[1 * e].re - x[k + 1 * L].im * T[1 * e].im;
			v[1].im = x[k + 1 * L].re * T[1 * e].im + x[k + 1 * L].im * T[1 * e].re;
			v[2].re = x[k + 2 * L].re * T[2 * e].re - x[k + 2 * L].im * T[2 * e].im;
			v[2].im = x[k + 2 * L].re * T[2 * e].im + x[k + 2 * L].im * T[2 * e].re;
			v[3].re = x[k + 3 * L].re * T[3 * e].re - x[k + 3 * L].im * T[3 * e].im;
			v[3].im = x[k + 3 * L].re * T[3 * e].im + x[k + 3 * L].im * T[3 * e].re;
			v[4].re = x[k + 4 * L].re * T[4 * e].re - x[k + 4 * L].im * T[4 * e].im;
			v[4].im = x[k + 4 * L].re * T[4 * e].im + x[k + 4 * L].im * T[4 * e].re;
			v[5].re = x[k + 5 * L].re * T[5 * e].re - x[k + 5 * L].im * T[5 * e].im;
			v[5].im = x[k + 5 * L].re * T[5 * e].im + x[k + 5 * L].im * T[5 * e].re;
			v[6].re = x[k + 6 * L].re * T[6 * e].re - x[k + 6 * L].im * T[6 * e].im;
			v[6].im = x[k + 6 * L].re * T[6 * e].im + x[k + 6 * L].im * T[6 * e].re;
			v[7].re = x[k + 7 * L].re * T[7 * e].re - x[k + 7 * L].im * T[7 * e].im;
			v[7].im = x[k + 7 * L].re * T[7 * e].im + x[k + 7 * L].im * T[7 * e].re;
			v[8].re = x[k + 8 * L].re * T[8 * e].re - x[k + 8 * L].im * T[8 * e].im;
			v[8].im = x[k + 8 * L].re * T[8 * e].im + x[k + 8 * L].im * T[8 * e].re;
			v[9].re = x[k + 9 * L].re * T[9 * e].re - x[k + 9 * L].im * T[9 * e].im;
			v[9].im = x[k + 9 * L].re * T[9 * e].im + x[k + 9 * L].im * T[9 * e].re;
			v[10].re = x[k + 10 * L].re * T[10 * e].re - x[k + 10 * L].im * T[10 * e].im;
			v[10].im = x[k + 10 * L].re * T[10 * e].im + x[k + 10 * L].im * T[10 * e].re;
			x[k].re = v[0].re;
			x[k].im = v[0].im;
			x[k + 1 * L].re = v[1].re;
			x[k + 1 * L].im = v[1].im;
			x[k + 2 * L].re = v[2].re;
			x[k + 2 * L].im = v[2].im;
			x[k + 3 * L].re = v[3].re;
			x[k + 3 * L].im = v[3].im;
			x[k + 4 * L].re = v[4].re;
			x[k + 4 * L].im = v[4].im;
			x[k + 5 * L].re = v[5].re;
			x[k + 5 * L].im = v[5].im;
			x[k + 6 * L].re = v[6].re;
			x[k + 6 * L].im = v[6].im;
			x[k + 7 * L].re = v[7].re;
			x[k + 7 * L].im = v[7].im;
			x[k + 8 * L].re = v[8].re;
			x[k + 8 * L].im = v[8].im;
			x[k + 9 * L].re = v[9].re;
			x[k + 9 * L].im = v[9].im;
			x[k + 10 * L].re = v[10].re;
			x[k + 10 * L].im = v[10].im;
		}
	}
}

static __attribute__((noipa)) void ref(complex *d, long L, long R, const complex *T, long tw)
{
	complex v[11];
	complex *x;
	long b, k, e;
	for (b = 0; b < R; b++) {
		x = d + b * 11 * L;
		for (k = 0; k < L; k++) {
			e = k * tw;
			v[0].re = x[k].re * T[0 * e].re - x[k].im * T[0 * e].im;
			v[0].im = x[k].re * T[0 * e].im + x[k].im * T[0 * e].re;
			v[1].re = x[k + 1 * L].re * T[1 * e].re - x[k + 1 * L].im * T[1 * e].im;
			v[1].im = x[k + 1 * L].re * T[1 * e].im + x[k + 1 * L].im * T[1 * e].re;
			v[2].re = x[k + 2 * L].re * T[2 * e].re - x[k + 2 * L].im * T[2 * e].im;
			v[2].im = x[k + 2 * L].re * T[2 * e].im + x[k + 2 * L].im * T[2 * e].re;
			v[3].re = x[k + 3 * L].re * T[3 * e].re - x[k + 3 * L].im * T[3 * e].im;
			v[3].im = x[k + 3 * L].re * T[3 * e].im + x[k + 3 * L].im * T[3 * e].re;
			v[4].re = x[k + 4 * L].re * T[4 * e].re - x[k + 4 * L].im * T[4 * e].im;
			v[4].im = x[k + 4 * L].re * T[4 * e].im + x[k + 4 * L].im * T[4 * e].re;
			v[5].re = x[k + 5 * L].re * T[5 * e].re - x[k + 5 * L].im * T[5 * e].im;
			v[5].im = x[k + 5 * L].re * T[5 * e].im + x[k + 5 * L].im * T[5 * e].re;
			v[6].re = x[k + 6 * L].re * T[6 * e].re - x[k + 6 * L].im * T[6 * e].im;
			v[6].im = x[k + 6 * L].re * T[6 * e].im + x[k + 6 * L].im * T[6 * e].re;
			v[7].re = x[k + 7 * L].re * T[7 * e].re - x[k + 7 * L].im * T[7 * e].im;
			v[7].im = x[k + 7 * L].re * T[7 * e].im + x[k + 7 * L].im * T[7 * e].re;
			v[8].re = x[k + 8 * L].re * T[8 * e].re - x[k + 8 * L].im * T[8 * e].im;
			v[8].im = x[k + 8 * L].re * T[8 * e].im + x[k + 8 * L].im * T[8 * e].re;
			v[9].re = x[k + 9 * L].re * T[9 * e].re - x[k + 9 * L].im * T[9 * e].im;
			v[9].im = x[k + 9 * L].re * T[9 * e].im + x[k + 9 * L].im * T[9 * e].re;
			v[10].re = x[k + 10 * L].re * T[10 * e].re - x[k + 10 * L].im * T[10 * e].im;
			v[10].im = x[k + 10 * L].re * T[10 * e].im + x[k + 10 * L].im * T[10 * e].re;
			x[k].re = v[0].re;
			x[k].im = v[0].im;
			x[k + 1 * L].re = v[1].re;
			x[k + 1 * L].im = v[1].im;
			x[k + 2 * L].re = v[2].re;
			x[k + 2 * L].im = v[2].im;
			x[k + 3 * L].re = v[3].re;
			x[k + 3 * L].im = v[3].im;
			x[k + 4 * L].re = v[4].re;
			x[k + 4 * L].im = v[4].im;
			x[k + 5 * L].re = v[5].re;
			x[k + 5 * L].im = v[5].im;
			x[k + 6 * L].re = v[6].re;
			x[k + 6 * L].im = v[6].im;
			x[k + 7 * L].re = v[7].re;
			x[k + 7 * L].im = v[7].im;
			x[k + 8 * L].re = v[8].re;
			x[k + 8 * L].im = v[8].im;
			x[k + 9 * L].re = v[9].re;
			x[k + 9 * L].im = v[9].im;
			x[k + 10 * L].re = v[10].re;
			x[k + 10 * L].im = v[10].im;
		}
	}
}

int main(void)
{
	static complex T0[1144], a0[1144], b0[1144];
	complex *volatile pt = T0, *volatile pa = a0, *volatile pb = b0;
	complex *T = pt, *a = pa, *b = pb;
	long i;
	double worst = 0;
	for (i = 0; i < 1144; i++) {
		T[i].re = cos(0.001 * i); T[i].im = sin(0.001 * i);
		a[i].re = b[i].re = (double)((i * 37) % 101) / 101.0;
		a[i].im = b[i].im = (double)((i * 53) % 103) / 103.0;
	}
	pass(a, 13, 8, T, 8);
	ref(b, 13, 8, T, 8);
	pass(a, 13, 4, T, 8);
	ref(b, 13, 4, T, 8);
	for (i = 0; i < 1144; i++) {
		double e = fabs(a[i].re - b[i].re) + fabs(a[i].im - b[i].im);
		if (e > worst) worst = e;
	}
	printf("max difference %g\n", worst);
	return worst > 1e-9;
}

