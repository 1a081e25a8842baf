#include "codegen/fast/fast_names.h"

FastNames::FastNames(int32_t n, Precision precision, const std::string& prefix)
    : n_(n), precision_(precision), prefix_(prefix) {
    const std::string len = std::to_string(n);
    const std::string p = prefix.empty() ? "" : prefix + "_";
    // The user's switches keep their names in every file.
    rules_.kept = {"KV_PORTABLE"};
    // The internals are per length, so that files of several lengths share
    // a translation unit.
    rules_.prefixes = {{"kv_", p + "kv" + len + "_"}, {"KV_", p + "KV" + len + "_"}};
    if (prefix.empty()) return;
    for (const char* name : {"complex", "revolver"}) rules_.names[name] = p + name;
    for (const char* name : {"IFFT", "Real_FFT", "Complex_FFT", "Real_IFFT"}) rules_.names[name + len] = p + name + len;
    // What files of one precision share (the type, revolver) is guarded per
    // prefix.
    rules_.prefixes.push_back({"KALVORIN_", p + "KALVORIN_"});
}

bool isCIdentifier(const std::string& text) {
    if (text.empty() || (text[0] >= '0' && text[0] <= '9')) return false;
    for (char c : text)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
    return true;
}
