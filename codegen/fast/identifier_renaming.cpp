#include "codegen/fast/identifier_renaming.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

bool isIdentifierStart(char c) { return std::isalpha((unsigned char)c) || c == '_'; }
bool isIdentifierChar(char c) { return std::isalnum((unsigned char)c) || c == '_'; }

std::string renamed(const std::string& word, const RenamingRules& rules) {
    if (rules.kept.count(word)) return word;
    const auto name = rules.names.find(word);
    if (name != rules.names.end()) return name->second;
    for (const auto& [from, to] : rules.prefixes)
        if (word.compare(0, from.size(), from) == 0) return to + word.substr(from.size());
    return word;
}

// A reader of the text that copies what it passes over.
class Scanner {
public:
    explicit Scanner(const std::string& text) : text_(text) {}

    bool done() const { return at_ >= text_.size(); }
    char peek(size_t ahead = 0) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }
    bool startsWith(const char* s) const { return text_.compare(at_, std::strlen(s), s) == 0; }
    std::string take(size_t count) {
        const std::string s = text_.substr(at_, count);
        at_ += s.size();
        return s;
    }
    // Up to, not including, the end of the line; a backslash before the
    // line end continues the line.
    std::string restOfLine() {
        size_t end = at_;
        while (end < text_.size() && !(text_[end] == '\n' && (end == 0 || text_[end - 1] != '\\'))) ++end;
        return take(end - at_);
    }
    std::string blockComment() {
        const size_t end = text_.find("*/", at_ + 2);
        return take(end == std::string::npos ? std::string::npos : end + 2 - at_);
    }
    // A string or character literal, escapes included; it ends at its
    // closing quote or, unterminated, at the line end.
    std::string quoted() {
        const char quote = text_[at_];
        size_t end = at_ + 1;
        while (end < text_.size() && text_[end] != quote && text_[end] != '\n') end += text_[end] == '\\' ? 2 : 1;
        if (end < text_.size() && text_[end] == quote) ++end;
        return take(std::min(end, text_.size()) - at_);
    }
    // A preprocessing number: 1e-5, 0x1p+3, 0.5f, 12L.
    std::string number() {
        size_t end = at_ + 1;
        while (end < text_.size()) {
            const char c = text_[end];
            if ((c == '+' || c == '-') && std::strchr("eEpP", text_[end - 1]))
                ++end;
            else if (isIdentifierChar(c) || c == '.')
                ++end;
            else
                break;
        }
        return take(end - at_);
    }
    std::string identifier() {
        size_t end = at_;
        while (end < text_.size() && isIdentifierChar(text_[end])) ++end;
        return take(end - at_);
    }
    std::string blanks() {
        size_t end = at_;
        while (end < text_.size() && (text_[end] == ' ' || text_[end] == '\t')) ++end;
        return take(end - at_);
    }

private:
    const std::string& text_;
    size_t at_ = 0;
};

}  // namespace

std::string renameIdentifiers(const std::string& c, const RenamingRules& rules) {
    std::string out;
    out.reserve(c.size() + c.size() / 8);
    Scanner s(c);
    bool lineStart = true;  // only blanks since the line began
    while (!s.done()) {
        const char ch = s.peek();
        if (ch == '\n') {
            out += s.take(1);
            lineStart = true;
            continue;
        }
        if (ch == ' ' || ch == '\t') {
            out += s.blanks();
            continue;
        }
        if (ch == '#' && lineStart) {
            // A directive: its name is no identifier of the program, and the
            // rest of #include, #error and #warning is not C.
            out += s.take(1);
            out += s.blanks();
            const std::string directive = s.identifier();
            out += directive;
            if (directive == "include" || directive == "error" || directive == "warning") out += s.restOfLine();
            lineStart = false;
            continue;
        }
        // A comment is a blank to the preprocessor: a directive may follow.
        if (s.startsWith("/*")) {
            out += s.blockComment();
            continue;
        }
        lineStart = false;
        if (s.startsWith("//"))
            out += s.restOfLine();
        else if (ch == '"' || ch == '\'')
            out += s.quoted();
        else if (std::isdigit((unsigned char)ch) || (ch == '.' && std::isdigit((unsigned char)s.peek(1))))
            out += s.number();
        else if (isIdentifierStart(ch))
            out += renamed(s.identifier(), rules);
        else
            out += s.take(1);
    }
    return out;
}
