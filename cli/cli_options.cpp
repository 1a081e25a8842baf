#include "cli/cli_options.h"

#include <getopt.h>

#include <cctype>
#include <cstring>

#include "cli/program_name.h"
#include "command/generate_command.h"

const char* const kUsageText =
    "Usage: " KALVORIN_CLI_NAME " [OPTION]... [LENGTH]...\n"
    "Write FFT<N>.cpp, C source of a discrete Fourier transform of length N\n"
    "(a composite number from 4 to 250000; with --style=fast, any number from\n"
    "2 to 16777216), for each LENGTH in order.\n"
    "With no LENGTH, read lengths from standard input, one per line.\n"
    "\n"
    "  -y, --yes              answer Yes to every question (create, overwrite)\n"
    "  -C, --directory=DIR    write the files in DIR\n"
    "      --style=STYLE      classic (the default): the original format, kept\n"
    "                         byte for byte; fast: the same functions, fast,\n"
    "                         with no big stack, right with a 32-bit long\n"
    "      --precision=PREC   double (the default) or single (float), with\n"
    "                         --style=fast only\n"
    "      --prefix=NAME      with --style=fast: NAME_complex, NAME_revolver,\n"
    "                         NAME_IFFT<N>... instead of the plain names, for\n"
    "                         files of both precisions in one program\n"
    "      --header           with --style=fast: also write FFT<N>.h, the type\n"
    "                         and the prototypes for C and C++ callers\n"
    "      --trace            write the wrap-test trace lines to standard output\n"
    "  -h, --help             show this help and exit\n"
    "  -V, --version          show the version and exit\n"
    "\n"
    "A LENGTH is read as typed into the length box of the window program:\n"
    "leading blanks, a sign and trailing characters are allowed (\"-12\" is 12).\n"
    "\n"
    "Exit status: 0 when every file was written, 1 when any length was\n"
    "refused, declined or failed, 2 for a usage error.\n";

namespace {

enum LongOnly { kTrace = 256, kStyle, kPrecision, kPrefix, kHeader };

const option kLongOptions[] = {
    {"yes", no_argument, nullptr, 'y'},
    {"directory", required_argument, nullptr, 'C'},
    {"style", required_argument, nullptr, kStyle},
    {"precision", required_argument, nullptr, kPrecision},
    {"prefix", required_argument, nullptr, kPrefix},
    {"header", no_argument, nullptr, kHeader},
    {"trace", no_argument, nullptr, kTrace},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};
// Leading '-': every other argument comes back in order as option 1;
// ':' after it: a missing option argument is told apart from an unknown one.
const char kShortOptions[] = "-:yC:hV";

// "-12" is a length typed with a sign, not a bundle of options -1 -2.
bool looksLikeLength(const char* arg) { return arg[0] == '-' && std::isdigit(static_cast<unsigned char>(arg[1])); }

// The long options that the prefix `name` (up to '=' or the end) abbreviates.
int longMatches(const char* name, const option** found) {
    const size_t len = std::strcspn(name, "=");
    int count = 0;
    for (const option* o = kLongOptions; o->name; ++o) {
        if (std::strncmp(o->name, name, len) != 0) continue;
        if (std::strlen(o->name) == len) {  // an exact match always wins
            *found = o;
            return 1;
        }
        *found = o;
        ++count;
    }
    return count;
}

// True when argument i is the value of the option before it ("-C -12").
bool takesNextAsValue(const char* arg) {
    if (std::strcmp(arg, "--") == 0 || arg[0] != '-' || arg[1] == '\0' || looksLikeLength(arg)) return false;
    if (arg[1] == '-') {
        const option* o = nullptr;
        return longMatches(arg + 2, &o) == 1 && o->has_arg == required_argument && !std::strchr(arg, '=');
    }
    for (const char* c = arg + 1; *c; ++c) {
        if (*c == 'C') return c[1] == '\0';
        if (!std::strchr("yhV", *c)) return false;
    }
    return false;
}

std::string addLength(const char* arg, CliOptions& options) {
    if (std::strlen(arg) > size_t(kLengthFieldSize - 1))
        return std::string("length '") + arg + "' is longer than 19 bytes";
    options.lengths.push_back(arg);
    return {};
}

std::string parseStyle(const char* value, CliOptions& options) {
    if (std::strcmp(value, "classic") == 0)
        options.style = OutputStyle::Classic;
    else if (std::strcmp(value, "fast") == 0)
        options.style = OutputStyle::Fast;
    else
        return std::string("unknown style '") + value + "' (use classic or fast)";
    return {};
}

std::string parsePrecision(const char* value, CliOptions& options) {
    if (std::strcmp(value, "double") == 0)
        options.precision = FloatType::Double;
    else if (std::strcmp(value, "single") == 0)
        options.precision = FloatType::Single;
    else
        return std::string("unknown precision '") + value + "' (use double or single)";
    options.precisionGiven = true;
    return {};
}

// The prefix begins every name of the file: a C identifier (ASCII letters,
// digits and underscores, no digit first).
std::string parsePrefix(const char* value, CliOptions& options) {
    bool identifier = *value != '\0' && !std::isdigit(static_cast<unsigned char>(*value));
    for (const char* c = value; *c; ++c)
        identifier = identifier && *c > 0 && (std::isalnum(static_cast<unsigned char>(*c)) || *c == '_');
    if (!identifier) return std::string("prefix '") + value + "' is not a C identifier";
    options.prefix = value;
    options.prefixGiven = true;
    return {};
}

std::string optionName(const char* arg) { return std::string(arg, std::strcspn(arg, "=")); }

}  // namespace

std::string parseCliOptions(int argc, const char* const* argv, CliOptions& options) {
    // getopt would read "-12" as the options -1 and -2, so such lengths are
    // swapped for a stand-in before parsing and put back as they come out.
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) args.push_back(const_cast<char*>(argv[i]));
    std::vector<std::string> standIns;
    standIns.reserve(argc);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) break;
        if (takesNextAsValue(argv[i])) {
            ++i;
        } else if (looksLikeLength(argv[i])) {
            standIns.push_back("length");
            args[i] = &standIns.back()[0];
        }
    }
    args.push_back(nullptr);
    const auto original = [&](const char* arg) {
        for (int i = 1; i < argc; ++i)
            if (args[i] == arg) return argv[i];
        return arg;
    };

    optind = 0;  // a full reset, also of GNU getopt's internal state
    opterr = 0;
    for (;;) {
        const int c = getopt_long(argc, args.data(), kShortOptions, kLongOptions, nullptr);
        if (c == -1) break;
        std::string error;
        switch (c) {
        case 1: error = addLength(original(optarg), options); break;
        case 'y': options.yes = true; break;
        case 'C': options.directory = optarg; break;
        case 'h': options.help = true; break;
        case 'V': options.version = true; break;
        case kTrace: options.trace = true; break;
        case kStyle: error = parseStyle(optarg, options); break;
        case kPrecision: error = parsePrecision(optarg, options); break;
        case kPrefix: error = parsePrefix(optarg, options); break;
        case kHeader: options.header = true; break;
        case ':': {
            const char* arg = argv[optind - 1];
            const std::string name = arg[1] == '-' ? optionName(arg) : std::string("-") + char(optopt);
            return "option '" + name + "' needs " + (optopt == 'C' ? "a directory" : "a value");
        }
        default: {
            if (optopt != 0) return std::string("unknown option '-") + char(optopt) + "'";
            const char* arg = argv[optind - 1];
            const option* o = nullptr;
            const bool ambiguous = arg[1] == '-' && longMatches(arg + 2, &o) > 1;
            return (ambiguous ? "ambiguous option '" : "unknown option '") + optionName(arg) + "'";
        }
        }
        if (!error.empty()) return error;
    }
    // Whatever follows "--" is a length, even "-y".
    for (int i = optind; i < argc; ++i) {
        const std::string error = addLength(original(args[i]), options);
        if (!error.empty()) return error;
    }
    if (options.precisionGiven && options.style != OutputStyle::Fast)
        return "--precision is for --style=fast only: the classic format is double only";
    if (options.prefixGiven && options.style != OutputStyle::Fast)
        return "--prefix is for --style=fast only: the classic format keeps its names";
    if (options.header && options.style != OutputStyle::Fast)
        return "--header is for --style=fast only";
    return {};
}
