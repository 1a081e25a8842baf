#include "codegen/fast/fast_text.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <stdexcept>

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

TextValues FastText::scalars(std::initializer_list<const char*> names) const {
    TextValues values;
    for (const std::string name : names) {
        if (name == "real")
            values[name] = real();
        else if (name == "zero")
            values[name] = literal(0);
        else if (name == "half")
            values[name] = literal(0.5L);
        else if (name == "sqrt1_2")
            values[name] = literal(0.707106781186547524400844362104849039L);
        else
            throw std::logic_error("no scalar placeholder @{" + name + "}");
    }
    return values;
}

// The angle is brought below a quarter turn's worth of error first: num/den
// is reduced modulo 1, so cosl and sinl see at most one turn.
long double cosTurn(long num, long den) { return std::cos(kTwoPi * (long double)(num % den) / (long double)den); }
long double sinTurn(long num, long den) { return std::sin(kTwoPi * (long double)(num % den) / (long double)den); }
