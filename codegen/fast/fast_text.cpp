#include "codegen/fast/fast_text.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const long double kTwoPi = 6.283185307179586476925286766559005768L;

}  // namespace

std::string format(const char* fmt, ...) {
    char buffer[512];
    va_list args;
    va_start(args, fmt);
    const int n = std::vsnprintf(buffer, sizeof buffer, fmt, args);
    va_end(args);
    if (n < int(sizeof buffer)) return buffer;
    std::string big(size_t(n) + 1, '\0');
    va_start(args, fmt);
    std::vsnprintf(big.data(), big.size(), fmt, args);
    va_end(args);
    big.resize(size_t(n));
    return big;
}

std::string FastText::literal(long double value) const {
    std::string text = precision_ == Precision::Single ? format("%.9g", double(float(value)))
                                                       : format("%.17g", double(value));
    if (text.find_first_of(".en") == std::string::npos) text += ".0";
    if (precision_ == Precision::Single) text += 'f';
    return text;
}

std::string FastText::fill(const std::string& tmpl) const {
    std::string out;
    for (size_t i = 0; i < tmpl.size();) {
        if (tmpl.compare(i, 4, "REAL") == 0) {
            out += real();
            i += 4;
        } else if (tmpl[i] == '$') {
            const size_t end = tmpl.find('$', i + 1);
            const std::string name = tmpl.substr(i + 1, end - i - 1);
            if (name == "HALF")
                out += literal(0.5L);
            else if (name == "SQRT1_2")
                out += literal(0.707106781186547524400844362104849039L);
            else
                out += literal(std::strtold(name.c_str(), nullptr));
            i = end + 1;
        } else {
            out += tmpl[i++];
        }
    }
    return out;
}

// The angle is brought below a quarter turn's worth of error first: num/den
// is reduced modulo 1, so cosl and sinl see at most one turn.
long double cosTurn(long num, long den) { return std::cos(kTwoPi * (long double)(num % den) / (long double)den); }
long double sinTurn(long num, long den) { return std::sin(kTwoPi * (long double)(num % den) / (long double)den); }
