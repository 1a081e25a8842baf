// Real_IFFT: the inverse of Real_FFT, from the half spectrum 0..N/2 to N
// reals divided by N. Even N from 4 on undoes kv_split and runs the
// half-length forward transform backwards; odd N and 2 turn the spectrum
// into a real sequence whose forward transform gives the samples (a Hartley
// identity).
// Either way the forward transform is out of place and the input stays
// untouched, so the values in between need work memory from the heap.
#include <string>

#include "codegen/fast/function_texts.h"
#include "plan/fast_plan.h"

namespace {

// Even N: the inverse of kv_split. Each k pairs with H - k as there, and
// the results go to the mirrored places, so that the forward transform of
// w is the inverse transform of Z. With vectors, KV_LANES values of k at a
// time, the entries from H - k down turned into ascending order.
std::string unsplitStep(const FastText& t, int32_t n, bool vectors) {
    const int32_t h = n / 2;
    TextValues values = t.scalars({"real"});
    values["h"] = std::to_string(h);
    values["vector_loop"] = vectors ? expandTemplate("kv_unsplit, vector loop", R"(#ifdef KV_VECTOR
	{
		kv_vcomplex va, vb, vt;
		kv_vec ver, vei, vdr, vdi, vpr, vpq;
		for (; 2 * k + 2 * KV_LANES - 2 < @{h}; k += KV_LANES) {
			va = kv_vload(X + k);
			vb = kv_vload(X + @{h} - k - (KV_LANES - 1));
			vb.re = __builtin_shufflevector(vb.re, vb.re, KV_BACKWARD);
			vb.im = __builtin_shufflevector(vb.im, vb.im, KV_BACKWARD);
			vt = kv_vload(T + k);
			ver = KV_SCALE(va.re + vb.re);
			vei = KV_SCALE(va.im - vb.im);
			vdr = KV_SCALE(va.re - vb.re);
			vdi = KV_SCALE(va.im + vb.im);
			vpr = vdr * vt.im - vdi * vt.re;
			vpq = vdr * vt.re + vdi * vt.im;
			va.re = ver - vpr;
			va.im = vpq - vei;
			vb.re = ver + vpr;
			vb.im = vei + vpq;
			vb.re = __builtin_shufflevector(vb.re, vb.re, KV_BACKWARD);
			vb.im = __builtin_shufflevector(vb.im, vb.im, KV_BACKWARD);
			kv_vstore(w + k, va);
			kv_vstore(w + @{h} - k - (KV_LANES - 1), vb);
		}
	}
#endif
)", {{"h", values["h"]}})
                                    : "";
    // k = H/2 pairs with itself: 2 Z[H/2] = 2 conj X[H/2].
    values["middle"] = h % 2 == 0 ? format("\tw[%d].re = X[%d].re * %s;\n\tw[%d].im = -X[%d].im * %s;\n", h / 2, h / 2,
                                           t.literal(2.0L / n).c_str(), h / 2, h / 2, t.literal(2.0L / n).c_str())
                                  : "";
    return expandTemplate("kv_unsplit", R"(
/* The inverse of kv_split. From X[k] for k <= H = @{h}, with
   2 E[k] = X[k] + conj X[H-k] and 2 W^k O[k] = X[k] - conj X[H-k],
   2 Z[k] = 2 (E[k] + i O[k]) is the transform of the pairs
   z[j] = x[2j] + i x[2j+1]. w[(H-k) mod H] = 2 Z[k] / N, so that the
   forward transform of w is z. Im X[0] and Im X[H] are not read. */
static void kv_unsplit(complex *KV_RESTRICT w, const complex *KV_RESTRICT X, const complex *KV_RESTRICT T)
{
	long k;
	@{real} er, ei, dr, di, pr, pq;
	complex a, b;
	w[0].re = KV_SCALE(X[0].re + X[@{h}].re);
	w[0].im = KV_SCALE(X[0].re - X[@{h}].re);
	k = 1;
@{vector_loop}	for (; k < @{h} - k; k++) {
		a = X[k];
		b = X[@{h} - k];
		er = KV_SCALE(a.re + b.re);
		ei = KV_SCALE(a.im - b.im);
		dr = KV_SCALE(a.re - b.re);
		di = KV_SCALE(a.im + b.im);
		pr = dr * T[k].im - di * T[k].re;
		pq = dr * T[k].re + di * T[k].im;
		w[k].re = er - pr;
		w[k].im = pq - ei;
		w[@{h} - k].re = er + pr;
		w[@{h} - k].im = ei + pq;
	}
@{middle}}
)",
                          values);
}

// Odd N and 2: r[k] = Re X[k] + Im X[k] for every k (X Hermitian), and
// x[n] = Re R[n] + Im R[n] with R the forward transform of r: the odd
// halves of the sums cancel. With vectors, KV_LANES values of k at a time,
// the differences turned into descending order.
std::string hartleySteps(const FastText& t, int32_t n, bool vectors) {
    TextValues values = t.scalars({"real"});
    values["n"] = std::to_string(n);
    // N = 2: the entry N/2 pairs with itself, and its imaginary part is 0.
    values["middle"] = n % 2 == 0 ? format("\tr[%d] = KV_SCALE(X[%d].re);\n", n / 2, n / 2) : "";
    values["vector_in"] = vectors ? expandTemplate("kv_hartley_in, vector loop", R"(#ifdef KV_VECTOR
	{
		kv_vcomplex v;
		kv_vec p, m;
		for (; 2 * k + 2 * KV_LANES - 2 < @{n}; k += KV_LANES) {
			v = kv_vload(X + k);
			p = KV_SCALE(v.re + v.im);
			m = KV_SCALE(v.re - v.im);
			p = __builtin_shufflevector(p, p, KV_NATURAL);
			m = __builtin_shufflevector(m, m, KV_BACKWARD);
			m = __builtin_shufflevector(m, m, KV_NATURAL);
			memcpy(r + k, &p, sizeof p);
			memcpy(r + @{n} - k - (KV_LANES - 1), &m, sizeof m);
		}
	}
#endif
)", {{"n", values["n"]}})
                                  : "";
    values["vector_out"] = vectors ? expandTemplate("kv_hartley_out, vector loop", R"(#ifdef KV_VECTOR
	{
		kv_vcomplex v;
		kv_vec sum;
		for (; k + KV_LANES - 1 < @{n}; k += KV_LANES) {
			v = kv_vload(R + k);
			sum = v.re + v.im;
			sum = __builtin_shufflevector(sum, sum, KV_NATURAL);
			memcpy(x + k, &sum, sizeof sum);
		}
	}
#endif
)", {{"n", values["n"]}})
                                   : "";
    return expandTemplate("kv_hartley_in and kv_hartley_out", R"(
/* From X[k] for k <= N/2: r[k] = (Re X[k] + Im X[k]) / N and
   r[N-k] = (Re X[k] - Im X[k]) / N, the real sequence whose transform R
   gives x[n] = Re R[n] + Im R[n]. Im X[0] (and Im X[N/2]) is not read. */
static void kv_hartley_in(@{real} *KV_RESTRICT r, const complex *KV_RESTRICT X)
{
	long k;
	r[0] = KV_SCALE(X[0].re);
	k = 1;
@{vector_in}	for (; k < @{n} - k; k++) {
		r[k] = KV_SCALE(X[k].re + X[k].im);
		r[@{n} - k] = KV_SCALE(X[k].re - X[k].im);
	}
@{middle}}

static void kv_hartley_out(@{real} *KV_RESTRICT x, const complex *KV_RESTRICT R)
{
	long k = 0;
@{vector_out}	for (; k < @{n}; k++)
		x[k] = R[k].re + R[k].im;
}
)",
                          values);
}

}  // namespace

std::string realInverseSteps(const FastText& t, int32_t n, bool vectors) {
    TextValues values = t.scalars({"real", "zero"});
    values["n"] = std::to_string(n);
    return (realUsesHalfLength(n) ? unsplitStep(t, n, vectors) : hartleySteps(t, n, vectors)) +
           expandTemplate("kv_fill_nan_reals", R"(
/* What Real_IFFT leaves when it cannot get its work memory. */
static void kv_fill_nan_reals(@{real} *x)
{
	volatile @{real} zero = @{zero};
	@{real} not_a_number = zero / zero;
	long k;
	for (k = 0; k < @{n}; k++)
		x[k] = not_a_number;
}
)",
                          values);
}

// The work holds the values the forward transform reads: H entries (N
// reals) for even N; for odd N the reals fit in the output, and the work
// takes the N entries the transform writes.
std::string realInverse(const FastText& t, const std::string& name, int32_t n) {
    const bool even = realUsesHalfLength(n);
    TextValues values = t.scalars({"real"});
    values["name"] = name;
    values["entries"] = std::to_string(even ? n / 2 : n);
    // The half-length transform reads work through a pointer to the whole
    // array: one formed as &work[0].re would let gcc (12, -O2) treat the
    // entries past the first as outside what it reads and drop their stores.
    values["steps"] = even ? "\tkv_unsplit(work, pSource, pSinCosTable);\n"
                             "\tkv_forward_half((complex *)pDestination, (const " + values["real"] + " *)work, pSinCosTable);\n"
                           : "\tkv_hartley_in(pDestination, pSource);\n"
                             "\tkv_forward_real(work, pDestination, pSinCosTable);\n"
                             "\tkv_hartley_out(pDestination, work);\n";
    return expandTemplate("Real_IFFT", R"(
void @{name}(@{real} *pDestination, const complex *pSource, const complex *pSinCosTable)
{
	complex *work = (complex *)FFT_MALLOC(@{entries} * sizeof(complex));
	if (work == 0) {
		kv_fill_nan_reals(pDestination);
		return;
	}
@{steps}	FFT_FREE(work);
}
)",
                          values);
}
