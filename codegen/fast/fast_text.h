// Text helpers shared by the parts of the fast-style emitter.
#pragma once

#include <initializer_list>
#include <string>

#include "codegen/fast/precision.h"
#include "codegen/fast/text_template.h"

class FastText {
public:
    explicit FastText(Precision precision) : precision_(precision) {}

    // "double" or "float".
    const char* real() const { return precision_ == Precision::Single ? "float" : "double"; }
    Precision precision() const { return precision_; }
    // sizeof of the scalar type.
    int scalarBytes() const { return precision_ == Precision::Single ? 4 : 8; }
    // A floating literal of the file's type: 17 significant digits, or 9
    // and the f suffix.
    std::string literal(long double value) const;
    // "f" or nothing: the suffix that makes a literal of the file's type.
    const char* suffix() const { return precision_ == Precision::Single ? "f" : ""; }
    // The values of the placeholders that templates of either precision
    // share, for just the names given (a template is given no value it does
    // not use): @{real}, the scalar type, and the literals @{zero},
    // @{half} and @{sqrt1_2}.
    TextValues scalars(std::initializer_list<const char*> names) const;

private:
    Precision precision_;
};

// cos and sin of 2*pi*num/den, with the angle reduced before the call.
long double cosTurn(long num, long den);
long double sinTurn(long num, long den);

// printf into a std::string.
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
