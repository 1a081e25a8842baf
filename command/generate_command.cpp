#include "command/generate_command.h"

#include <algorithm>

#include "codegen/fast/emitter_limits.h"
#include "command/messages.h"
#include "command/output_sequence.h"
#include "plan/radix_plan.h"
#include "plan/stage_wraps.h"

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

std::string factorText(const std::vector<int32_t>& factors) {
    std::string text;
    for (int32_t factor : factors) {
        text += std::to_string(factor);
        text += msg::kIdeographicSpace;
    }
    return text;
}

int32_t maxLength(OutputStyle style) { return style == OutputStyle::Fast ? kFastMaxLength : kMaxLength; }

GenerateResult onGenerate(std::string_view typed, UserDialogs& ui, FileFormat format, const TraceSink& trace) {
    char field[kLengthFieldSize] = {};
    // An empty view may have no bytes behind it at all (a null data
    // pointer), which strnlen and memcpy must never be handed.
    std::string_view box = typed.substr(0, kLengthFieldSize - 1);
    box = box.substr(0, box.find('\0'));
    std::copy(box.begin(), box.end(), field);

    GenerateResult result;
    const int32_t value = parseLength(field);
    const int32_t n = value < 0 ? -value : value;  // saturation keeps this off INT32_MIN
    result.length = n;

    const bool fast = format.style == OutputStyle::Fast;
    if (n > maxLength(format.style)) {
        ui.showMessage(fast ? msg::fastLengthTooLarge(kFastMaxLength).c_str() : msg::kLengthTooLarge, "");
        result.outcome = GenerateOutcome::RefusedTooLarge;
        return result;
    }
    if (n < 2) {
        ui.showMessage(msg::kNeedComposite, "");
        result.outcome = GenerateOutcome::RefusedNotComposite;
        return result;
    }
    RadixPlan plan;
    plan.length = n;
    plan.lengthText = std::to_string(n);
    int count = factorise(plan, n);
    if (count == 0 && fast) {
        // A prime (2 included) is one pass of its own radix.
        plan.factors[0] = n;
        count = 1;
    }
    if (count == 0) {
        ui.showMessage(msg::kPrime, "");
        result.outcome = GenerateOutcome::RefusedPrime;
        return result;
    }
    completePlan(plan, count);
    result.factors.assign(plan.factors.begin(), plan.factors.begin() + count);
    result.largestTwiddleIndex = largestTwiddleIndex(plan);
    ui.showFactors(factorText(result.factors).c_str());
    result.outcome = runOutputSequence(plan, ui, format, trace);
    return result;
}
