// The pass of a radix with a butterfly of its own, with a vector loop that
// takes KV_LANES columns of the blocks at a time.
#include <string>

#include "codegen/fast/function_texts.h"

std::string ownPass(int32_t p) {
    // Entries and twiddles are loaded and stored by component, never as
    // whole structs: the vectoriser takes the loop over k only then.
    auto at = [](int q) {
        return q == 0 ? std::string("k") : "k + " + (q == 1 ? std::string("L") : format("%d * L", q));
    };
    std::string body = "\t\t\tv[0].re = x[k].re;\n\t\t\tv[0].im = x[k].im;\n";
    for (int q = 1; q < p; ++q) {
        const std::string a = at(q), w = q == 1 ? std::string("T[e]") : format("T[%d * e]", q);
        body += format("\t\t\tv[%d].re = x[%s].re * %s.re - x[%s].im * %s.im;\n"
                       "\t\t\tv[%d].im = x[%s].re * %s.im + x[%s].im * %s.re;\n",
                       q, a.c_str(), w.c_str(), a.c_str(), w.c_str(), q, a.c_str(), w.c_str(), a.c_str(), w.c_str());
    }
    body += format("\t\t\tkv_dft%d(v);\n", p);
    for (int q = 0; q < p; ++q)
        body += format("\t\t\tx[%s].re = v[%d].re;\n\t\t\tx[%s].im = v[%d].im;\n", at(q).c_str(), q,
                       at(q).c_str(), q);
    // The vector loop takes KV_LANES values of k at a time, outside the
    // loop over the blocks, which share their twiddles; those of entry q
    // are the q-th powers of those of entry 1, formed by products.
    std::string vec = "#ifdef KV_VECTOR\n\tfor (k = 0; k + KV_LANES <= L; k += KV_LANES) {\n"
                      "\t\tw[1] = tw == 1 ? kv_vload(T + k) : kv_vroots(T, k * tw, tw);\n";
    for (int q = 2; q < p; ++q) vec += format("\t\tw[%d] = kv_vmul(w[%d], w[1]);\n", q, q - 1);
    vec += format("\t\tfor (b = 0; b < R; b++) {\n\t\t\tx = d + b * %d * L;\n\t\t\tu[0] = kv_vload(x + k);\n", p);
    for (int q = 1; q < p; ++q) vec += format("\t\t\tu[%d] = kv_vmul(kv_vload(x + %s), w[%d]);\n", q, at(q).c_str(), q);
    vec += format("\t\t\tkv_vdft%d(u);\n", p);
    for (int q = 0; q < p; ++q) vec += format("\t\t\tkv_vstore(x + %s, u[%d]);\n", at(q).c_str(), q);
    vec += "\t\t}\n\t}\n\tstart = k;\n#else\n\tstart = 0;\n#endif\n";
    // gcc unrolls a short loop over k (the pass after the leaf) completely
    // and then vectorises neither it nor the loop over the blocks.
    return expandTemplate("kv_pass", R"(
/* One pass of radix @{p} over R blocks of @{p} L entries: entry k + q L of a
   block is turned by T[q k tw] before the butterfly. */
static KV_PASS void kv_pass@{p}(complex *d, long L, long R, const complex *KV_RESTRICT T, long tw)
{
	complex v[@{p}];
	complex *KV_RESTRICT x;
	long b, k, e, start;
#ifdef KV_VECTOR
	kv_vcomplex u[@{p}], w[@{p}];
#endif
@{vector_loop}	for (b = 0; b < R; b++) {
		x = d + b * @{p} * L;
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 8
#pragma GCC unroll 1
#endif
		for (k = start; k < L; k++) {
			e = k * tw;
@{butterfly}		}
	}
}
)",
                          {{"p", std::to_string(p)}, {"vector_loop", vec}, {"butterfly", body}});
}

