// The generate command under many typed texts, drawn from a fixed seed so a
// failure repeats. The generator leans towards accepted lengths dressed up
// as a user might type them, and still reaches every refusal.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "generate_check.h"
#include "test_support.h"

namespace {

class TypedTextGenerator {
public:
    explicit TypedTextGenerator(uint32_t seed) : rng_(seed) {}

    std::string next() {
        std::string text;
        if (below(10) == 0) {
            const size_t size = below(65);
            for (size_t i = 0; i < size; ++i) text += char(below(256));
            return text;
        }
        if (below(4) == 0) text += blanks();
        if (below(3) == 0) text += "+-"[below(2)];
        if (below(20) == 0) text += "+-"[below(2)];  // a second sign reads as no digits
        if (below(6) == 0) text += std::string(below(20), '0');
        text += number();
        if (below(3) == 0) text += tail();
        if (text.size() > 64) text.resize(64);
        return text;
    }

private:
    size_t below(size_t k) { return rng_() % k; }

    std::string blanks() {
        std::string s;
        for (size_t i = 1 + below(3); i > 0; --i) s += " \t\n\v\f\r"[below(6)];
        if (below(8) == 0) s += "\x81\x40";  // the ideographic space is not a blank
        return s;
    }

    int32_t composite() {
        for (;;) {
            const int32_t n = int32_t(4 + below(250000 - 3));
            if (n % 2 == 0 || n % 3 == 0 || n % 5 == 0 || n % 7 == 0) return n;
        }
    }

    std::string number() {
        static const int32_t notable[] = {4, 6, 12, 60, 1024, 65536, 65542, 131072, 196608, 249982, 250000};
        switch (below(12)) {
            case 0: case 1: case 2: case 3: case 4:
                // A small pool, so the reference files are mostly reused.
                return std::to_string(4 + below(400));
            case 5: case 6:
                return std::to_string(notable[below(sizeof notable / sizeof notable[0])]);
            case 7:
                return std::to_string(composite());
            case 8: {
                static const int32_t primes[] = {2, 3, 5, 7, 97, 32771, 124991, 249989};
                return std::to_string(primes[below(sizeof primes / sizeof primes[0])]);
            }
            case 9:
                return std::to_string(below(2));  // 0 or 1
            case 10: {
                static const char* const large[] = {"250001", "2147483647", "2147483648", "4294967308", "4294967296",
                                                    "9999999999999999999"};
                return large[below(sizeof large / sizeof large[0])];
            }
            default: {
                std::string digits;
                for (size_t i = 1 + below(60); i > 0; --i) digits += char('0' + below(10));
                return digits;
            }
        }
    }

    std::string tail() {
        static const std::string pieces[] = {"abc", " ", "\t", ";x", "\x81", "\xe0", "\xfc", "\x82\x4f",
                                             "\x82\x58", std::string("\0" "7", 2), ".5", "e3"};
        std::string s;
        for (size_t i = 1 + below(3); i > 0; --i) {
            if (below(4) == 0)
                s += char(below(256));
            else
                s += pieces[below(sizeof pieces / sizeof pieces[0])];
        }
        if (below(10) == 0) s += std::string(1 + below(3), '\0') + "12";
        return s;
    }

    std::mt19937 rng_;
};

TEST(GenerateFuzz, SeededTypedTexts) {
    ScratchDir dir(ScratchPlace::Memory);
    GenerateChecker checker;
    TypedTextGenerator generator(20240607);
    constexpr int kInputs = 20000;  // every accepted one writes its file: about 6 s under the sanitizers
    int failures = 0;
    for (int i = 0; i < kInputs && failures < 10; ++i) {
        const std::string typed = generator.next();
        const std::string error = checker.check(typed);
        if (!error.empty()) {
            ADD_FAILURE() << "input " << i << ": " << error;
            ++failures;
        }
    }
    // The generator must keep reaching every path, or the test has gone blind.
    for (auto kind : {ExpectedOutcome::Accepted, ExpectedOutcome::TooLarge, ExpectedOutcome::Prime,
                      ExpectedOutcome::NeedComposite})
        EXPECT_GT(checker.outcomes[kind], kInputs / 50) << "outcome " << kind;
    EXPECT_GT(checker.outcomes[ExpectedOutcome::Accepted], kInputs / 2);
    EXPECT_EQ(checker.written, checker.outcomes[ExpectedOutcome::Accepted]);
    RecordProperty("accepted", std::to_string(checker.outcomes[ExpectedOutcome::Accepted]));
    RecordProperty("written", std::to_string(checker.written));
}

TEST(GenerateFuzz, EdgeTextsOfTheLengthBox) {
    ScratchDir dir;
    GenerateChecker checker;
    const std::string cases[] = {
        std::string(),
        std::string("\0", 1),
        std::string("12\0" "7", 4),
        std::string(19, '0') + "12",          // the digits past the box are not read
        std::string(18, '0') + "12",          // 1: refused
        std::string(17, '0') + "12",          // 12
        std::string(60, '9'),
        "-2147483648",
        "+0000250000",
        "\x81\x40" "12",
        "\x82\x50\x82\x51",
        "\x81",
        " \t\n\v\f\r-12",
    };
    for (const auto& typed : cases) EXPECT_EQ(checker.check(typed), "");
    // A view with no bytes behind it at all.
    EXPECT_EQ(checker.check(std::string_view()), "");
    EXPECT_EQ(checker.written, 4);
}

TEST(GenerateFuzz, OracleAgreesWithTheRulesOfTheBox) {
    struct Case {
        std::string typed;
        ExpectedOutcome::Kind kind;
        int32_t n;
    };
    const Case cases[] = {
        {"12", ExpectedOutcome::Accepted, 12},
        {" -0012x", ExpectedOutcome::Accepted, 12},
        {std::string(19, '0') + "12", ExpectedOutcome::NeedComposite, 0},
        {"250000", ExpectedOutcome::Accepted, 250000},
        {"250001", ExpectedOutcome::TooLarge, 250001},
        {"1000000", ExpectedOutcome::TooLarge, 0},
        {"249989", ExpectedOutcome::Prime, 249989},
        {"+-4", ExpectedOutcome::NeedComposite, 0},
        {std::string("4\0" "4", 3), ExpectedOutcome::Accepted, 4},
    };
    for (const auto& c : cases) {
        const ExpectedOutcome got = expectedOutcome(c.typed);
        EXPECT_EQ(got.kind, c.kind) << c.typed;
        if (c.kind != ExpectedOutcome::TooLarge || c.n) {
            EXPECT_EQ(got.n, c.n) << c.typed;
        }
    }
}

}  // namespace
