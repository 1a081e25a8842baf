// One input of the length box through the generate command, checked against
// an independent reading of the input. Shared by the libFuzzer target and the
// randomized test, so it uses no test framework: a broken property comes
// back as a text.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

// What the command must do with a typed text.
struct ExpectedOutcome {
    enum Kind { Accepted, TooLarge, Prime, NeedComposite } kind;
    int32_t n;  // the magnitude, meaningful when it is at most 250000
};

// Reads the text the way a user of the window would expect it read: the
// length box keeps 19 bytes, a NUL ends it, blanks and one sign may lead,
// digits follow. Written apart from the program's parser on purpose.
ExpectedOutcome expectedOutcome(std::string_view typed);

class GenerateChecker {
public:
    // The checker works in the current directory, which must be empty and
    // is left empty after every check.
    GenerateChecker() = default;

    // Runs the command once with a dialog that answers Yes and returns what
    // went wrong, or an empty text.
    std::string check(std::string_view typed);

    std::map<ExpectedOutcome::Kind, long> outcomes;  // inputs checked, by outcome
    long written = 0;                                 // files written and compared

private:
    // The file that the plain decimal form of n produces.
    const std::string* reference(int32_t n, std::string& error);
    std::map<int32_t, std::string> references_;
};
