// The passes of a transform of real input of odd length. Every block of a
// decimation in time then holds the transform of real samples, which is
// conjugate-symmetric: of a block of length L only its entries 0 to
// (L - 1) / 2 carry information. A pass of radix p that combines p such
// blocks into one of p L entries computes only the butterflies k = 0 to
// (L - 1) / 2; those of L - k give the conjugates in reverse order,
//   X[(L - k) + q L] = conj X[k + (p - 1 - q) L],
// half the arithmetic and half the loads of the complex pass. Before another
// such pass only entries 0 to (p L - 1) / 2 of the result are needed: the
// outputs q <= (p - 1) / 2 of each butterfly and the mirror images of the
// others, p stores; the last pass (or one before a pass of the complex
// transform) also writes the rest. The stores of a butterfly k > 0 land on
// its own inputs or on entries above (L - 1) / 2, which no butterfly reads,
// so the pass still works in place.
#include <string>

#include "codegen/fast/convolution.h"
#include "codegen/fast/fast_parts.h"
#include "codegen/fast/function_texts.h"

namespace {

const auto at = passEntry;
std::string mirror(int q) {
    return q == 0 ? std::string("L - k") : "L - k + " + (q == 1 ? std::string("L") : format("%d * L", q));
}

// The stores of butterfly k in v: direct for q from `from` to below `to`,
// and mirrored into L - k + q L for q likewise.
std::string scalarStores(int from, int to, const char* tabs) {
    std::string s;
    for (int q = from; q < to; ++q)
        s += format("%sx[%s].re = v[%d].re;\n%sx[%s].im = v[%d].im;\n", tabs, at(q).c_str(), q, tabs, at(q).c_str(), q);
    return s;
}
std::string scalarMirrors(int p, int from, int to, const char* tabs) {
    std::string s;
    for (int q = from; q < to; ++q)
        s += format("%sx[%s].re = v[%d].re;\n%sx[%s].im = -v[%d].im;\n", tabs, mirror(q).c_str(), p - 1 - q, tabs,
                    mirror(q).c_str(), p - 1 - q);
    return s;
}

// The same for KV_LANES values of k from k on: the mirror images of lanes
// k, k + 1, ... lie at L - k, L - k - 1, ..., stored as one vector from
// L - k - (KV_LANES - 1) on with its lanes reversed.
std::string vectorStores(int from, int to, const char* tabs) {
    std::string s;
    for (int q = from; q < to; ++q) s += format("%skv_vstore(x + %s, u[%d]);\n", tabs, at(q).c_str(), q);
    return s;
}
std::string vectorMirrors(int p, int from, int to, const char* tabs) {
    std::string s;
    for (int q = from; q < to; ++q)
        s += format("%skv_vstore(x + %s - (KV_LANES - 1), kv_vmirror(u[%d]));\n", tabs, mirror(q).c_str(), p - 1 - q);
    return s;
}

const char* const kRealPassOdd = R"(
/* The pass of kv_pass_odd on blocks that hold transforms of real input, L
   odd: the butterflies k <= (L - 1) / 2, with the mirror images of their
   outputs; all of them when full, else those below (p L - 1) / 2. */
static KV_PASS void kv_rpass_odd(complex *d, long p, long L, long R, const complex *T, long tw, long ws, int full)
{
	long b, k, q, h = (L - 1) / 2, top = full ? p : (p - 1) / 2;
	for (b = 0; b < R; b++) {
		complex *x = d + b * p * L;
		for (k = 0; k <= h; k++) {
			kv_odd_column(x, k, p, L, T, tw, ws);
			for (q = 0; k > 0 && q < top; q++) {
				x[L - k + q * L].re = x[k + (p - 1 - q) * L].re;
				x[L - k + q * L].im = -x[k + (p - 1 - q) * L].im;
			}
		}
	}
}
)";

}  // namespace

bool hasRealPass(int32_t p) { return p % 2 == 1 && !usesConvolution(p); }

bool realPassWritesAll(const FastPlan& plan, int stage) {
    const int m = int(plan.radix.size());
    return stage == 0 || stage + 1 == m || !hasRealPass(plan.radix[stage + 1]);
}

// The butterflies (vectors of `lanes` and scalar ones) that kv_rpass<p>
// computes per block of L entries, as its loops run.
int64_t butterfliesPerBlock(int64_t L, int64_t lanes, bool whole) {
    const int64_t h = (L - 1) / 2;
    int64_t k = whole ? 0 : 1, vectors = 0;
    while (k <= h && k + lanes - 1 <= (whole ? L - k - (k == 0) : h)) {
        ++vectors;
        k += lanes;
    }
    const bool zero = !whole || vectors == 0;
    const int64_t start = k > 0 ? k : 1;
    return vectors + (zero ? 1 : 0) + (start <= h ? h - start + 1 : 0);
}

// Where a block need not be whole, it is for the lane counts where that
// halves the butterflies at least: the stores it costs the pass before are
// not free (with two lanes, blocks of 9 whole made 59049 7 % slower).
std::string realPassCall(int32_t p, const std::string& d, int64_t sub, int64_t blocks, int64_t twiddleStep,
                         int64_t rootStep, bool whole, bool full) {
    auto flag = [](bool must, int64_t length) {
        if (must) return std::string("1");
        bool pays[3], any = false;
        for (int i = 0; i < 3; ++i) {
            const int64_t lanes = int64_t(2) << i;
            pays[i] = 2 * butterfliesPerBlock(length, lanes, true) <= butterfliesPerBlock(length, lanes, false);
            any |= pays[i];
        }
        return any ? format("KV_WHOLE(%d, %d, %d)", pays[0], pays[1], pays[2]) : std::string("0");
    };
    if (hasOwnButterfly(p))
        return format("kv_rpass%d(%s, %lld, %lld, T, %lld, %s, %s);", p, d.c_str(), (long long)sub, (long long)blocks,
                      (long long)twiddleStep, flag(whole, sub).c_str(), flag(full, p * sub).c_str());
    return format("kv_rpass_odd(%s, %d, %lld, %lld, T, %lld, %lld, %s);", d.c_str(), p, (long long)sub,
                  (long long)blocks, (long long)twiddleStep, (long long)rootStep, flag(full, p * sub).c_str());
}

// A short block has too few butterflies up to its middle to fill the
// vectors; whole, they run past the middle. So the pass before writes all
// its outputs: twice the stores, none of them a butterfly more.
std::string realPassSupport(bool vectors) {
    const char* whole = R"(
/* Whether a real pass writes all its outputs, with two, four or eight
   lanes: the next one then runs its vectors past the middle of its blocks. */
#ifdef KV_VECTOR
#define KV_WHOLE(two, four, eight) (KV_LANES == 2 ? two : KV_LANES == 4 ? four : eight)
#else
#define KV_WHOLE(two, four, eight) 0
#endif
)";
    if (!vectors) return whole;
    return std::string(whole) + R"(
#ifdef KV_VECTOR
/* The conjugates of v's lanes in reverse order. */
static KV_INLINE kv_vcomplex kv_vmirror(kv_vcomplex v)
{
	kv_vcomplex r;
	r.re = __builtin_shufflevector(v.re, v.re, KV_BACKWARD);
	r.im = -__builtin_shufflevector(v.im, v.im, KV_BACKWARD);
	return r;
}

/* The lanes of v but the last. */
static KV_INLINE void kv_vstore_head(complex *p, kv_vcomplex v)
{
	complex t[KV_LANES];
	kv_vstore(t, v);
	memcpy(p, t, (KV_LANES - 1) * sizeof(complex));
}
#endif
)";
}

std::string realOwnPass(int32_t p) {
    const int half = (p - 1) / 2;
    // k = 0 takes real entries and no twiddles; its outputs are all stored.
    std::string first;
    for (int q = 0; q < p; ++q)
        first += format("\t\t\tv[%d].re = x[%s].re;\n\t\t\tv[%d].im = x[%s].im;\n", q,
                        q == 0 ? "0" : q == 1 ? "L" : format("%d * L", q).c_str(), q,
                        q == 0 ? "0" : q == 1 ? "L" : format("%d * L", q).c_str());
    first += format("\t\t\tkv_dft%d(v);\n", p);
    for (int q = 0; q < p; ++q)
        first += format("\t\t\tx[%s].re = v[%d].re;\n\t\t\tx[%s].im = v[%d].im;\n",
                        q == 0 ? "0" : q == 1 ? "L" : format("%d * L", q).c_str(), q,
                        q == 0 ? "0" : q == 1 ? "L" : format("%d * L", q).c_str(), q);
    std::string body = scalarTwiddledLoads(p);
    body += format("\t\t\tkv_dft%d(v);\n", p);
    body += scalarStores(0, half + 1, "\t\t\t") + scalarMirrors(p, 0, half, "\t\t\t");
    body += "\t\t\tif (full) {\n" + scalarStores(half + 1, p, "\t\t\t\t") + scalarMirrors(p, half, p, "\t\t\t\t") +
            "\t\t\t}\n";
    // With whole blocks the vectors may start at k = 0, and the last may
    // take lanes k' above h; their inputs k' + j L, which the mirror images
    // of the butterflies L - k' overwrite, must still be there: the lanes go
    // up to L - k at most. The last mirror image of k = 0 would fall on the
    // next block: that vector stores all lanes but the last.
    // The twiddles as in kv_pass<p> but for those of entry 1, which are read
    // from the table lane by lane, for all the blocks at once: formed as
    // products, their rounding made the error at 3^10 1.1 times FFTW's,
    // read they leave it at par.
    std::string vec = "\tfor (; k <= h && k + KV_LANES - 1 <= (whole ? L - k - (k == 0) : h); k += KV_LANES) {\n"
                      "\t\tw[1] = tw == 1 ? kv_vload(T + k) : kv_vroots(T, k * tw, tw);\n";
    for (int q = 2; q < p; ++q) vec += format("\t\tw[%d] = %s;\n", q, vectorTwiddle(q).c_str());
    vec += format("\t\tfor (b = 0; b < R; b++) {\n\t\t\tx = d + b * %d * L;\n\t\t\tu[0] = kv_vload(x + k);\n", p);
    for (int q = 1; q < p; ++q) vec += format("\t\t\tu[%d] = kv_vmul(kv_vload(x + %s), w[%d]);\n", q, at(q).c_str(), q);
    vec += format("\t\t\tkv_vdft%d(u);\n", p);
    vec += vectorStores(0, half + 1, "\t\t\t") + vectorMirrors(p, 0, half, "\t\t\t");
    vec += "\t\t\tif (full) {\n" + vectorStores(half + 1, p, "\t\t\t\t") + vectorMirrors(p, half, p - 1, "\t\t\t\t") +
           format("\t\t\t\tif (k > 0)\n\t\t\t\t\tkv_vstore(x + %s - (KV_LANES - 1), kv_vmirror(u[0]));\n"
                  "\t\t\t\telse\n\t\t\t\t\tkv_vstore_head(x + %d * L - (KV_LANES - 1), kv_vmirror(u[0]));\n",
                  mirror(p - 1).c_str(), p) +
           "\t\t\t}\n";
    vec += "\t\t}\n\t}\n";
    // The loop inside a test of L that the lanes' turns need: with them
    // read unconditionally (gcc cannot tell that the loop's condition
    // implies it, and warns of them as maybe uninitialised), the passes
    // over blocks too short for the loop took 15 % longer with gcc and
    // -march=native.
    std::string indented;
    for (size_t from = 0, end; from < vec.size(); from = end + 1) {
        end = vec.find('\n', from);
        indented += "\t" + vec.substr(from, end - from + 1);
    }
    vec = "#ifdef KV_VECTOR\n\tk = whole ? 0 : 1;\n\tzero = k == 1;\n\tif (L >= KV_LANES) {\n" +
          vectorLaneTurns(p, 2, "\t\t") + indented +
          "\t}\n\tzero = zero || k == 0;\n\tstart = k > 0 ? k : 1;\n#else\n\t(void)whole;\n\tzero = 1;\n"
          "\tstart = 1;\n#endif\n";
    return expandTemplate("kv_rpass", R"(
/* The pass of kv_pass@{p} on blocks that hold transforms of real input, L
   odd: the butterflies k <= h = (L - 1) / 2, with the mirror images of
   their outputs; all of them when full, else those below (@{p} L - 1) / 2.
   whole: the blocks hold all their L entries, not only those up to h. */
static KV_PASS void kv_rpass@{p}(complex *d, long L, long R, const complex *KV_RESTRICT T, long tw, int whole, int full)
{
	complex v[@{p}];
	complex *KV_RESTRICT x;
	long b, k, e, start, zero, h = (L - 1) / 2;
#ifdef KV_VECTOR
	kv_vcomplex u[@{p}], w[@{p}], lane[@{p}];
#endif
@{vector_loop}	for (b = 0; b < R; b++) {
		x = d + b * @{p} * L;
		if (zero) {
@{first}		}
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 8
#pragma GCC unroll 1
#endif
		for (k = start; k <= h; k++) {
			e = k * tw;
@{butterfly}		}
	}
}
)",
                          {{"p", std::to_string(p)}, {"vector_loop", vec}, {"first", first}, {"butterfly", body}});
}

std::string realRootLoopPass() { return kRealPassOdd; }
