#include "app/cli_options.h"

#include <cctype>
#include <cstring>

#include "app/generate_command.h"

const char* const kUsageText =
    "Usage: kalvorin [OPTION]... [LENGTH]...\n"
    "Write FFT<N>.cpp, C source of a discrete Fourier transform of length N\n"
    "(a composite number from 4 to 250000), for each LENGTH in order.\n"
    "With no LENGTH, read lengths from standard input, one per line.\n"
    "\n"
    "  -y, --yes            answer Yes to every question (create, overwrite)\n"
    "  -C, --directory=DIR  write the files in DIR\n"
    "      --trace          write the wrap-test trace lines to standard output\n"
    "  -h, --help           show this help and exit\n"
    "  -V, --version        show the version and exit\n"
    "\n"
    "A LENGTH is read as typed into the length box of the window program:\n"
    "leading blanks, a sign and trailing characters are allowed (\"-12\" is 12).\n"
    "\n"
    "Exit status: 0 when every file was written, 1 when any length was\n"
    "refused, declined or failed, 2 for a usage error.\n";

namespace {

// "-12" is a length typed with a sign, not an option.
bool looksLikeLength(const char* arg) { return arg[0] == '-' && std::isdigit(static_cast<unsigned char>(arg[1])); }

std::string addLength(const char* arg, CliOptions& options) {
    if (std::strlen(arg) > size_t(kLengthFieldSize - 1))
        return std::string("length '") + arg + "' is longer than 19 bytes";
    options.lengths.push_back(arg);
    return {};
}

}  // namespace

std::string parseCliOptions(int argc, const char* const* argv, CliOptions& options) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (optionsEnded || arg[0] != '-' || arg[1] == '\0' || looksLikeLength(arg)) {
            const std::string error = addLength(arg, options);
            if (!error.empty()) return error;
            continue;
        }
        const std::string a = arg;
        if (a == "--") {
            optionsEnded = true;
        } else if (a == "-y" || a == "--yes") {
            options.yes = true;
        } else if (a == "--trace") {
            options.trace = true;
        } else if (a == "-h" || a == "--help") {
            options.help = true;
        } else if (a == "-V" || a == "--version") {
            options.version = true;
        } else if (a == "-C" || a == "--directory") {
            if (i + 1 >= argc) return "option '" + a + "' needs a directory";
            options.directory = argv[++i];
        } else if (a.rfind("--directory=", 0) == 0) {
            options.directory = a.substr(12);
        } else if (a.rfind("-C", 0) == 0) {
            options.directory = a.substr(2);
        } else {
            return "unknown option '" + a + "'";
        }
    }
    return {};
}
