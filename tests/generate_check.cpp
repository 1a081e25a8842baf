#include "generate_check.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "command/generate_command.h"
#include "command/messages.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

bool isPrime(int32_t n) {
    if (n < 2) return false;
    for (int32_t d = 2; d * d <= n; ++d)
        if (n % d == 0) return false;
    return true;
}

std::string shown(std::string_view bytes) {
    static const char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            out += char(c);
        } else {
            out += "\\x";
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out + "\"";
}

std::vector<std::string> entries() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(".")) names.push_back(e.path().filename().string());
    return names;
}

void clearDirectory() {
    for (const auto& name : entries()) {
        std::error_code ec;
        fs::remove_all(name, ec);
    }
}

std::string contentOf(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The factors display must list primes in ascending order, each followed by
// the ideographic space, whose product is n.
bool factorsDescribe(const std::string& text, int32_t n) {
    const std::string separator = msg::kIdeographicSpace;
    int64_t product = 1;
    int32_t previous = 2;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find(separator, pos);
        if (end == std::string::npos || end == pos || end - pos > 6) return false;
        const std::string digits = text.substr(pos, end - pos);
        if (digits.find_first_not_of("0123456789") != std::string::npos) return false;
        const int32_t factor = std::stoi(digits);
        if (factor < previous || !isPrime(factor)) return false;
        previous = factor;
        product *= factor;
        if (product > n) return false;
        pos = end + separator.size();
    }
    return product == n && pos > 0;
}

}  // namespace

ExpectedOutcome expectedOutcome(std::string_view typed) {
    std::string text(typed.substr(0, 19));
    text = text.substr(0, text.find('\0'));
    size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos) i = text.size();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && text[i] == '0') ++i;
    size_t end = i;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
    // Seven significant digits are already beyond the limit, whatever the sign.
    if (end - i > 6) return {ExpectedOutcome::TooLarge, 0};
    const int32_t n = end == i ? 0 : std::stoi(text.substr(i, end - i));
    if (n > 250000) return {ExpectedOutcome::TooLarge, n};
    if (n < 2) return {ExpectedOutcome::NeedComposite, n};
    if (isPrime(n)) return {ExpectedOutcome::Prime, n};
    return {ExpectedOutcome::Accepted, n};
}

const std::string* GenerateChecker::reference(int32_t n, std::string& error) {
    auto it = references_.find(n);
    if (it != references_.end()) return &it->second;
    if (references_.size() >= 4096) references_.clear();  // bounds a long fuzzing run

    const std::string name = "FFT" + std::to_string(n) + ".cpp";
    RecordingDialogs ui;
    onGenerate(std::to_string(n), ui);
    if (entries() != std::vector<std::string>{name}) {
        error = "the decimal form of " + std::to_string(n) + " did not give exactly " + name;
        clearDirectory();
        return nullptr;
    }
    std::string content = contentOf(name);
    clearDirectory();
    return &references_.emplace(n, std::move(content)).first->second;
}

std::string GenerateChecker::check(std::string_view typed) {
    if (!entries().empty()) return "the working directory is not empty before " + shown(typed);
    const ExpectedOutcome expected = expectedOutcome(typed);
    ++outcomes[expected.kind];

    RecordingDialogs ui;
    onGenerate(typed, ui);
    const std::vector<std::string> files = entries();

    std::string error;
    auto fail = [&](const std::string& what) {
        if (error.empty()) error = shown(typed) + ": " + what;
    };

    if (expected.kind != ExpectedOutcome::Accepted) {
        const char* text = expected.kind == ExpectedOutcome::TooLarge ? msg::kLengthTooLarge
                           : expected.kind == ExpectedOutcome::Prime  ? msg::kPrime
                                                                      : msg::kNeedComposite;
        const std::vector<RecordingDialogs::Call> want = {{"message", text, ""}};
        if (ui.calls != want) fail("refused with the wrong dialogs (expected outcome " + std::to_string(expected.kind) + ")");
        if (!files.empty()) fail("a refused length wrote " + shown(files.front()));
        clearDirectory();
        return error;
    }

    const std::string name = "FFT" + std::to_string(expected.n) + ".cpp";
    const std::string confirm = msg::kConfirmHead + name + msg::kConfirmTail;
    if (ui.calls.size() != 2 || ui.calls[0].op != "factors" || !factorsDescribe(ui.calls[0].text, expected.n))
        fail("the factors of " + std::to_string(expected.n) + " were not shown first");
    else if (!(ui.calls[1] == RecordingDialogs::Call{"ask", confirm, msg::kConfirmCaption}))
        fail("the confirmation does not name " + name);

    if (files != std::vector<std::string>{name}) {
        fail("expected exactly the file " + name + ", found " + std::to_string(files.size()) + " entries" +
             (files.empty() ? "" : ", the first " + shown(files.front())));
    } else {
        const std::string content = contentOf(name);
        clearDirectory();
        ++written;
        std::string refError;
        const std::string* ref = reference(expected.n, refError);
        if (!ref)
            fail(refError);
        else if (content != *ref)
            fail(name + " differs from the file for the decimal form");
    }
    clearDirectory();
    return error;
}
