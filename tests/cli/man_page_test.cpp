// The manual page against the program it describes.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "codegen/fast/emitter_limits.h"
#include "command/generate_command.h"
#include "process_runner.h"
#include "test_support.h"

namespace {

// The page as groff shows it, near enough: "\-" is a hyphen and font
// changes leave no trace.
std::string manPageText() {
    std::string page = readFile(KALVORIN_TEST_SOURCE "/../cli/kalvorin.1");
    page = std::regex_replace(page, std::regex(R"(\\f[BIRP])"), "");
    page = std::regex_replace(page, std::regex(R"(\\-)"), "-");
    return page;
}

// The options of the option lines of --help, e.g. "-y" and "--yes".
std::set<std::string> helpOptions() {
    const ProcessResult help = runProcess({KALVORIN_PROGRAM, "--help"});
    EXPECT_EQ(help.status, 0);
    std::set<std::string> options;
    std::istringstream lines(help.out);
    const std::regex option(R"((^|[ ,])(--?[A-Za-z][A-Za-z-]*))");
    for (std::string line; std::getline(lines, line);) {
        const size_t start = line.find_first_not_of(' ');
        if (start == 0 || start == std::string::npos || line[start] != '-') continue;
        const std::string names = line.substr(start, line.find("  ", start) - start);  // up to the description
        for (std::sregex_iterator m(names.begin(), names.end(), option), end; m != end; ++m)
            options.insert((*m)[2]);
    }
    return options;
}

bool mentions(const std::string& page, const std::string& option) {
    // "-y" must not be found inside "--yes".
    return std::regex_search(page, std::regex("(^|[^-A-Za-z])" + option + "($|[^-A-Za-z])"));
}

TEST(ManPage, DescribesEveryOptionThatHelpLists) {
    const std::set<std::string> options = helpOptions();
    EXPECT_GE(options.size(), 9u) << "the option lines of --help were not found";
    const std::string page = manPageText();
    for (const auto& option : options) EXPECT_TRUE(mentions(page, option)) << option;
}

TEST(ManPage, CarriesTheProgramVersion) {
    const ProcessResult version = runProcess({KALVORIN_PROGRAM, "--version"});
    ASSERT_EQ(version.status, 0);
    const std::string title = manPageText().substr(0, manPageText().find('\n'));
    const std::string name = version.out.substr(0, version.out.find('\n'));  // "kalvorin 1.0.0"
    EXPECT_NE(title.find('"' + name + '"'), std::string::npos) << title;
}

// The page and --help give both styles' longest length as the program has it.
TEST(ManPage, StatesTheLimitsOfBothStyles) {
    const std::string page = manPageText();
    const ProcessResult help = runProcess({KALVORIN_PROGRAM, "--help"});
    for (const std::string& max : {std::to_string(kMaxLength), std::to_string(kFastMaxLength)}) {
        EXPECT_NE(page.find(max), std::string::npos) << max;
        EXPECT_NE(help.out.find(max), std::string::npos) << max;
    }
}

}  // namespace
