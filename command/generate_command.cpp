#include "command/generate_command.h"

#include <cstdio>
#include <algorithm>
#include <cstring>

#include "command/messages.h"
#include "command/output_sequence.h"

namespace {

bool isBlank(unsigned char c) { return c == 0x20 || (c >= 0x09 && c <= 0x0D); }

}  // namespace

int32_t parseLength(const char* text) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    while (isBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > INT32_MAX) value = INT32_MAX;  // keeps saturating, never wraps
    }
    return int32_t(negative ? -value : value);
}

std::string factorText(const RadixPlan& plan, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::to_string(plan.factors[i]);
        text += msg::kIdeographicSpace;
    }
    return text;
}

RadixPlan& currentPlan() {
    static RadixPlan plan;
    return plan;
}

bool onGenerate(std::string_view typed, UserDialogs& ui, FileFormat format, const TraceSink& trace) {
    char field[kLengthFieldSize] = {};
    // An empty view may have no bytes behind it at all (a null data
    // pointer), which strnlen and memcpy must never be handed.
    std::string_view box = typed.substr(0, kLengthFieldSize - 1);
    box = box.substr(0, box.find('\0'));
    std::copy(box.begin(), box.end(), field);

    RadixPlan& plan = currentPlan();
    const int32_t value = parseLength(field);
    const int32_t n = value < 0 ? -value : value;  // saturation keeps this off INT32_MIN
    plan.length = n;
    plan.lengthText = std::to_string(n);

    if (n > kMaxLength) {
        ui.showMessage(msg::kLengthTooLarge, "");
        return false;
    }
    if (n < 2) {
        ui.showMessage(msg::kNeedComposite, "");
        return false;
    }
    const int count = factorise(plan, n);
    if (count == 0) {
        ui.showMessage(msg::kPrime, "");
        return false;
    }
    completePlan(plan, count);
    ui.showFactors(factorText(plan, count).c_str());
    return runOutputSequence(plan, ui, format, trace);
}
