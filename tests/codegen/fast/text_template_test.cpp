// The expander that fills every C template of the fast style: what it
// writes, and that each way a template and its values can disagree stops
// the generator with the template and the placeholder named.
#include <gtest/gtest.h>

#include <stdexcept>

#include "codegen/fast/text_template.h"

namespace {

struct Case {
    const char* tmpl;
    TextValues values;
    const char* expected;  // the text, or what the error names
    bool fails;
};

const Case kCases[] = {
    {"static REAL KV_REALLY(@{real} *x);", {{"real", "float"}}, "static REAL KV_REALLY(float *x);", false},
    {"@{a}@{b}@{a}", {{"a", "x"}, {"b", "yy"}}, "xyyx", false},
    {"@{n}", {{"n", ""}}, "", false},
    {"no placeholder", {}, "no placeholder", false},
    // A value is text, not a template.
    {"<@{v}>", {{"v", "@{v}$REAL$"}}, "<@{v}$REAL$>", false},
    {"x = $0$ + @{zero_1};", {{"zero_1", "0.0f"}}, "x = $0$ + 0.0f;", false},
    {"@{real} x;", {}, "no value for @{real}", true},
    {"@{real} x;", {{"real", "double"}, {"half", "0.5"}}, "a value for @{half}", true},
    {"", {{"len", "12"}}, "a value for @{len}", true},
    {"a @ b", {}, "an @ that opens no placeholder at offset 2", true},
    {"tail @", {}, "an @ that opens no placeholder at offset 5", true},
    {"@{real x;", {{"real", "double"}}, "not closed", true},
    {"@{real\n} x;", {{"real", "double"}}, "not closed", true},
    {"@{} x;", {}, "not closed", true},
    {"@{1x}", {{"1x", "a"}}, "not closed", true},
};

TEST(TextTemplate, FillsPlaceholdersAndRefusesEveryMismatch) {
    for (const Case& c : kCases) {
        if (!c.fails) {
            EXPECT_EQ(expandTemplate("t", c.tmpl, c.values), c.expected) << c.tmpl;
            continue;
        }
        try {
            expandTemplate("kv_case", c.tmpl, c.values);
            ADD_FAILURE() << "accepted: " << c.tmpl;
        } catch (const std::logic_error& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("kv_case"), std::string::npos) << message;
            EXPECT_NE(message.find(c.expected), std::string::npos) << message;
        }
    }
}

}  // namespace
