// The steps after the forward transform: kv_split for Real_FFT of even N
// and kv_reverse_scale for IFFT where its own transform does not read the
// input backwards.
#include <string>

#include "codegen/fast/function_texts.h"

// Real_FFT of even N: X[k] = E[k] + W^k O[k], E and O the transforms of the
// even and odd inputs, read off the half-length transform Z of the pairs.
// Each step writes X[k] and X[H - k] and, in the same sweep, their mirror
// images X[N - k] and X[H + k]. With vectors, KV_LANES values of k at a
// time, the entries from H - k down turned into ascending order.
std::string splitStep(const FastText& t, int32_t n, bool vectors) {
    const int32_t h = n / 2;
    TextValues values = t.scalars({"real", "zero", "half"});
    values["h"] = std::to_string(h);
    values["n"] = std::to_string(n);
    values["vector_split"] = vectors ? expandTemplate("kv_split, vector loop", R"(#ifdef KV_VECTOR
	{
		kv_vcomplex va, vb, w, m;
		kv_vec ver, vei, vfr, vfi, vpr, vpq;
		for (; 2 * k + 2 * KV_LANES - 2 < @{h}; k += KV_LANES) {
			va = kv_vload(y + k);
			vb = kv_vload(y + @{h} - k - (KV_LANES - 1));
			vb.re = __builtin_shufflevector(vb.re, vb.re, KV_BACKWARD);
			vb.im = __builtin_shufflevector(vb.im, vb.im, KV_BACKWARD);
			w = kv_vload(T + k);
			ver = (va.re + vb.re) * (@{real})@{half};
			vei = (va.im - vb.im) * (@{real})@{half};
			vfr = (va.im + vb.im) * (@{real})@{half};
			vfi = (vb.re - va.re) * (@{real})@{half};
			vpr = w.re * vfr - w.im * vfi;
			vpq = w.re * vfi + w.im * vfr;
			va.re = ver + vpr;
			va.im = vei + vpq;
			vb.re = ver - vpr;
			vb.im = vpq - vei;
			kv_vstore(y + k, va);
			m.re = vb.re;
			m.im = -vb.im;
			kv_vstore(y + @{h} + k, m);
			vb.re = __builtin_shufflevector(vb.re, vb.re, KV_BACKWARD);
			vb.im = __builtin_shufflevector(vb.im, vb.im, KV_BACKWARD);
			kv_vstore(y + @{h} - k - (KV_LANES - 1), vb);
			m.re = __builtin_shufflevector(va.re, va.re, KV_BACKWARD);
			m.im = -__builtin_shufflevector(va.im, va.im, KV_BACKWARD);
			kv_vstore(y + @{n} - k - (KV_LANES - 1), m);
		}
	}
#endif
)", {{"h", values["h"]}, {"n", values["n"]}, {"half", values["half"]}, {"real", values["real"]}})
                                     : "";
    values["middle"] = h % 2 == 0 ? format("\ty[%d].im = -y[%d].im;\n\ty[%d].re = y[%d].re;\n\ty[%d].im = -y[%d].im;\n",
                                           h / 2, h / 2, h + h / 2, h / 2, h + h / 2, h / 2)
                                  : "";
    return expandTemplate("kv_split", R"(
/* y holds Z, the transform of the @{h} pairs z[j] = x[2j] + i x[2j+1]. With
   E[k] = (Z[k] + conj Z[H-k]) / 2 and O[k] = (Z[k] - conj Z[H-k]) / 2i, H = @{h}:
   X[k] = E[k] + W^k O[k], X[H-k] = conj(E[k] - W^k O[k]), X[N-k] = conj X[k]. */
static void kv_split(complex *KV_RESTRICT y, const complex *KV_RESTRICT T)
{
	long k;
	@{real} er, ei, fr, fi, pr, pq;
	complex a, b;
	a = y[0];
	y[0].re = a.re + a.im;
	y[0].im = @{zero};
	y[@{h}].re = a.re - a.im;
	y[@{h}].im = @{zero};
	k = 1;
@{vector_split}	for (; k < @{h} - k; k++) {
		a = y[k];
		b = y[@{h} - k];
		er = (a.re + b.re) * @{half};
		ei = (a.im - b.im) * @{half};
		fr = (a.im + b.im) * @{half};
		fi = (b.re - a.re) * @{half};
		pr = T[k].re * fr - T[k].im * fi;
		pq = T[k].re * fi + T[k].im * fr;
		y[k].re = er + pr;
		y[k].im = ei + pq;
		y[@{h} - k].re = er - pr;
		y[@{h} - k].im = pq - ei;
		y[@{n} - k].re = er + pr;
		y[@{n} - k].im = -(ei + pq);
		y[@{h} + k].re = er - pr;
		y[@{h} + k].im = ei - pq;
	}
@{middle}}
)",
                          values);
}

// IFFT as the forward transform read backwards: x^[k] = X[(N - k) mod N] / N.
// With vectors, KV_LANES / 2 entries from each end at a time, their order
// turned within the vector.
std::string reverseStep(const FastText& t, int32_t n, bool vectors) {
    TextValues values = t.scalars({"real"});
    values["n"] = std::to_string(n);
    values["vector_loop"] = vectors ? expandTemplate("kv_reverse_scale, vector loop", R"(#ifdef KV_VECTOR
	{
		kv_vec a, b;
		for (; 2 * k + KV_LANES - 2 < @{n}; k += KV_LANES / 2) {
			memcpy(&a, y + k, sizeof a);
			memcpy(&b, y + @{n} - k - (KV_LANES / 2 - 1), sizeof b);
			a = __builtin_shufflevector(a, a, KV_REVERSE);
			b = __builtin_shufflevector(b, b, KV_REVERSE);
			a = KV_SCALE(a);
			b = KV_SCALE(b);
			memcpy(y + k, &b, sizeof b);
			memcpy(y + @{n} - k - (KV_LANES / 2 - 1), &a, sizeof a);
		}
	}
#endif
)", {{"n", values["n"]}})
                                    : "";
    values["middle"] = n % 2 == 0 ? format("\ty[%d].re = KV_SCALE(y[%d].re);\n\ty[%d].im = KV_SCALE(y[%d].im);\n", n / 2,
                                           n / 2, n / 2, n / 2)
                                  : "";
    return expandTemplate("kv_reverse_scale", R"(
static void kv_reverse_scale(complex *y)
{
	@{real} r, i;
	long k;
	y[0].re = KV_SCALE(y[0].re);
	y[0].im = KV_SCALE(y[0].im);
	k = 1;
@{vector_loop}	for (; k < @{n} - k; k++) {
		r = y[k].re;
		i = y[k].im;
		y[k].re = KV_SCALE(y[@{n} - k].re);
		y[k].im = KV_SCALE(y[@{n} - k].im);
		y[@{n} - k].re = KV_SCALE(r);
		y[@{n} - k].im = KV_SCALE(i);
	}
@{middle}}
)",
                          values);
}
