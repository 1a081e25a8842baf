#include "codegen/fast/text_template.h"

#include <cctype>
#include <set>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const char* what, const std::string& problem) {
    throw std::logic_error(std::string("template ") + what + ": " + problem);
}

bool isIdentifier(const std::string& s) {
    if (s.empty() || std::isdigit((unsigned char)s[0])) return false;
    for (char c : s)
        if (!std::isalnum((unsigned char)c) && c != '_') return false;
    return true;
}

}  // namespace

std::string expandTemplate(const char* what, const std::string& tmpl, const TextValues& values) {
    std::string out;
    out.reserve(tmpl.size());
    std::set<std::string> used;
    size_t from = 0;
    for (size_t at; (at = tmpl.find('@', from)) != std::string::npos;) {
        out.append(tmpl, from, at - from);
        if (tmpl.compare(at, 2, "@{") != 0) fail(what, "an @ that opens no placeholder at offset " + std::to_string(at));
        const size_t close = tmpl.find('}', at + 2);
        const std::string name = close == std::string::npos ? std::string() : tmpl.substr(at + 2, close - at - 2);
        if (!isIdentifier(name)) fail(what, "a placeholder not closed after a name at offset " + std::to_string(at));
        const auto value = values.find(name);
        if (value == values.end()) fail(what, "no value for @{" + name + "}");
        out += value->second;
        used.insert(name);
        from = close + 1;
    }
    out.append(tmpl, from, std::string::npos);
    for (const auto& [name, value] : values)
        if (!used.count(name)) fail(what, "a value for @{" + name + "}, which it does not hold");
    return out;
}
