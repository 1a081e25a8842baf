// The names of a fast-style file and of its header: the type, the
// functions, the internal parts and the guard macros. The templates write
// the plain names (complex, revolver, IFFT<N>, kv_..., KV_..., KALVORIN_...);
// rules() turns them into the file's own.
#pragma once

#include <cstdint>
#include <string>

#include "codegen/fast/identifier_renaming.h"
#include "codegen/fast/precision.h"

class FastNames {
public:
    // prefix: empty, or a C identifier that every external name, the type
    // and the internals carry, followed by an underscore.
    FastNames(int32_t n, Precision precision, const std::string& prefix);

    // What the templates call them, renamed; e.g. "IFFT1024" with the
    // prefix "dsp" is "dsp_IFFT1024".
    std::string operator()(const std::string& plain) const { return renameIdentifiers(plain, rules_); }
    const RenamingRules& rules() const { return rules_; }
    bool prefixed() const { return !prefix_.empty(); }
    const std::string& prefix() const { return prefix_; }
    // What the internal kv_ and KV_ names begin with in this file.
    std::string internalLower() const { return (*this)("kv_"); }
    std::string internalUpper() const { return (*this)("KV_"); }

    int32_t length() const { return n_; }
    Precision precision() const { return precision_; }
    // "DOUBLE" or "SINGLE": the guard macros of the type and of revolver are
    // per precision.
    const char* precisionWord() const { return precision_ == Precision::Single ? "SINGLE" : "DOUBLE"; }

private:
    int32_t n_;
    Precision precision_;
    std::string prefix_;
    RenamingRules rules_;
};

// Whether text is a C identifier (a prefix must be one).
bool isCIdentifier(const std::string& text);
