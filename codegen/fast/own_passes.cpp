// The pass of a radix with a butterfly of its own, with a vector loop that
// takes KV_LANES columns of the blocks at a time.
#include <string>

#include "codegen/fast/function_texts.h"
#include "codegen/fast/leaf_loops.h"

std::string passEntry(int q) {
    return q == 0 ? std::string("k") : "k + " + (q == 1 ? std::string("L") : format("%d * L", q));
}

// Entries and twiddles are loaded and stored by component, never as whole
// structs: the vectoriser takes the loop over k only then.
std::string scalarTwiddledLoads(int32_t p) {
    std::string body = "\t\t\tv[0].re = x[k].re;\n\t\t\tv[0].im = x[k].im;\n";
    for (int q = 1; q < p; ++q) {
        const std::string a = passEntry(q), w = q == 1 ? std::string("T[e]") : format("T[%d * e]", q);
        body += format("\t\t\tv[%d].re = x[%s].re * %s.re - x[%s].im * %s.im;\n"
                       "\t\t\tv[%d].im = x[%s].re * %s.im + x[%s].im * %s.re;\n",
                       q, a.c_str(), w.c_str(), a.c_str(), w.c_str(), q, a.c_str(), w.c_str(), a.c_str(), w.c_str());
    }
    return body;
}

// The vector loops take KV_LANES values of k at a time; the blocks share
// their twiddles. A twiddle formed as a power of another carries one
// rounding per product: chained up to the (p-1)-th power, they doubled the
// error of a complex transform and made that of a real one of odd length
// 1.5 times FFTW's. Each is one product of two table entries instead:
// T[q k tw], the same in every lane, times the turn of lane j, T[q j tw],
// the same for every k. That reads one entry per twiddle where reading each
// lane's own would read one line of the table per lane, again for every
// block of a blocked pass (and took up to 8 % more instructions in the
// real passes). In the last pass (tw == 1) the twiddles of entry 1 lie
// side by side and are read as they are, and those of entry 2 are their
// squares.
std::string vectorTwiddle(int q) {
    const std::string product =
        format("kv_vmul(kv_vsplat(T + %sk * tw), lane[%d])", q == 1 ? "" : format("%d * ", q).c_str(), q);
    if (q == 1) return "tw == 1 ? kv_vload(T + k) : " + product;
    if (q == 2) return "tw == 1 ? kv_vmul(w[1], w[1]) : " + product;
    return product;
}

// The lanes' turns of the entries q from `from` on, lines at `indent`:
// they reach T[(KV_LANES - 1) q tw], so are read only where L >= KV_LANES
// lets a vector loop run.
std::string vectorLaneTurns(int32_t p, int from, const char* indent) {
    std::string s;
    for (int q = from; q < p; ++q)
        s += format("%slane[%d] = kv_vroots(T, 0, %s);\n", indent, q,
                    q == 1 ? "tw" : format("%d * tw", q).c_str());
    return s;
}

namespace {

// The vector loops of a pass of radix p, on the loads and stores named:
// kv_vload and kv_vstore on pairs, or those of the split form.
struct PassLoops {
    std::string lanes;  // the lanes' turns
    std::string single;  // the loop of a pass over one block, on d
    std::string blocks;  // the loop over stretches of columns and the blocks
};

PassLoops passLoops(int32_t p, const char* load, const char* store, int depth) {
    const auto at = passEntry;
    const std::string t1 = tabs(depth), t2 = tabs(depth + 1), t3 = tabs(depth + 2), t4 = tabs(depth + 3);
    const char *in1 = t1.c_str(), *in2 = t2.c_str(), *in3 = t3.c_str(), *in4 = t4.c_str();
    PassLoops loops;
    loops.lanes = vectorLaneTurns(p, 1, in1);
    // A pass over one block (the last, or the only one) has no loop over
    // the blocks: gcc then keeps the entries' addresses in registers where
    // for each k it set up that loop's pointers again, from the stack.
    std::string& s = loops.single;
    s = format("%sfor (k = 0; k + KV_LANES <= L; k += KV_LANES) {\n", in1);
    for (int q = 1; q < p; ++q) s += format("%sw[%d] = %s;\n", in2, q, vectorTwiddle(q).c_str());
    s += format("%su[0] = %s(d + k);\n", in2, load);
    for (int q = 1; q < p; ++q) s += format("%su[%d] = kv_vmul(%s(d + %s), w[%d]);\n", in2, q, load, at(q).c_str(), q);
    s += format("%skv_vdft%d(u);\n", in2, p);
    for (int q = 0; q < p; ++q) s += format("%s%s(d + %s, u[%d]);\n", in2, store, at(q).c_str(), q);
    s += t1 + "}\n";
    // Over several blocks the twiddles of a stretch of 8 vectors of columns
    // are formed once into wb, then each block's stretch reads them there: a
    // load of a twiddle costs less than its product, and the blocks are
    // walked one after the other. With the loop over the blocks inside that
    // over k, each k touched p entries of every block, which evicted each
    // other where the blocks lie a multiple of 2 KiB apart; the passes then
    // ran block by block, forming their twiddles again in each block.
    std::string& chunk = loops.blocks;
    chunk = format("%sfor (c = 0; c + KV_LANES <= L; c += 8 * KV_LANES) {\n"
                   "%sm = (L - c) / KV_LANES < 8 ? (L - c) / KV_LANES : 8;\n"
                   "%sfor (j = 0; j < m; j++) {\n%sk = c + j * KV_LANES;\n",
                   in1, in2, in2, in3);
    for (int q = 1; q < p; ++q)
        chunk += format("%sw[%d] = %s;\n%swb[j][%d] = w[%d];\n", in3, q, vectorTwiddle(q).c_str(), in3, q, q);
    chunk += format("%s}\n%sfor (b = 0; b < R; b++) {\n%sx = d + b * %d * L + c;\n"
                    "%sfor (j = 0; j < m; j++) {\n%sk = j * KV_LANES;\n"
                    "%su[0] = %s(x + k);\n",
                    in2, in2, in3, p, in3, in4, in4, load);
    for (int q = 1; q < p; ++q)
        chunk += format("%su[%d] = kv_vmul(%s(x + %s), wb[j][%d]);\n", in4, q, load, at(q).c_str(), q);
    chunk += format("%skv_vdft%d(u);\n", in4, p);
    for (int q = 0; q < p; ++q) chunk += format("%s%s(x + %s, u[%d]);\n", in4, store, at(q).c_str(), q);
    chunk += t3 + "}\n" + t2 + "}\n" + t1 + "}\n";
    return loops;
}

}  // namespace

std::string ownPass(int32_t p) {
    std::string body = scalarTwiddledLoads(p);
    body += format("\t\t\tkv_dft%d(v);\n", p);
    for (int q = 0; q < p; ++q)
        body += format("\t\t\tx[%s].re = v[%d].re;\n\t\t\tx[%s].im = v[%d].im;\n", passEntry(q).c_str(), q,
                       passEntry(q).c_str(), q);
    const PassLoops loops = passLoops(p, "kv_vload", "kv_vstore", 2);
    // The lanes' turns are read only where the loop runs: they reach
    // T[(KV_LANES - 1) q tw].
    std::string vec = "#ifdef KV_VECTOR\n\tif (L >= KV_LANES) {\n" + loops.lanes;
    vec += "\t}\n\tif (R == 1) {\n" + loops.single + "\t} else {\n" + loops.blocks + "\t}\n";
    vec += "\tstart = L - L % KV_LANES;\n#else\n\tstart = 0;\n#endif\n";
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
	kv_vcomplex u[@{p}], w[@{p}], lane[@{p}], wb[8][@{p}];
	long c, j, m;
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

// The pass on the split form (splitLayout), only where every span it is
// called with is a multiple of KV_LANES: the vector loop alone. Split, a
// pass between the leaf and the last, over several blocks; joined, the last
// pass, over one, which writes pairs again.
std::string splitPass(int32_t p, bool joined, const std::string& lanesIf, bool swapped) {
    const PassLoops loops =
        passLoops(p, "kv_vload_split", swapped ? "kv_vstore_swap" : joined ? "kv_vstore" : "kv_vstore_split", 1);
    TextValues v = {{"p", std::to_string(p)}, {"if", lanesIf}, {"lanes", loops.lanes}};
    v["loop"] = joined ? loops.single : loops.blocks;
    v["name"] = swapped ? "join_swap" : joined ? "join" : "split";
    // IFFT's last pass swaps back what its leaves swapped.
    v["store"] = swapped ? R"(
/* Entries p[0] to p[KV_LANES - 1], the real and imaginary parts swapped. */
static KV_INLINE void kv_vstore_swap(complex *p, kv_vcomplex v)
{
	kv_vec a = KV_SHUFFLE(v.im, v.re, KV_LOW), b = KV_SHUFFLE(v.im, v.re, KV_HIGH);
	memcpy(p, &a, sizeof a);
	memcpy(p + KV_LANES / 2, &b, sizeof b);
}
)"
                         : "";
    v["blocks"] = joined ? "" : " long R,";
    v["x"] = joined ? "" : "\tcomplex *KV_RESTRICT x;\n";
    v["wb"] = joined ? "" : format(", wb[8][%d]", p);
    v["joined"] = swapped ? ", which it writes as pairs of swapped parts" : joined ? ", which it writes as pairs" : "";
    v["vars"] = joined ? "k" : "b, k, c, j, m";
    return expandTemplate("kv_pass_split", R"(
#if @{if}@{store}
/* kv_pass@{p} on entries in the split form@{joined}. */
static KV_PASS void kv_pass@{p}_@{name}(complex *d, long L,@{blocks} const complex *KV_RESTRICT T, long tw)
{
@{x}	kv_vcomplex u[@{p}], w[@{p}], lane[@{p}]@{wb};
	long @{vars};
@{lanes}@{loop}}
#endif
)",
                          v);
}
