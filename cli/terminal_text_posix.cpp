#include "cli/terminal_text.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <cstring>

namespace {

std::string terminalEncoding() {
    const char* codeset = nl_langinfo(CODESET);
    if (!codeset || !*codeset || !std::strcmp(codeset, "ANSI_X3.4-1968") || !std::strcmp(codeset, "ASCII"))
        return "UTF-8";
    return codeset;
}

}  // namespace

TerminalText::TerminalText() : encoding_(terminalEncoding()) {
    iconv_t cd = iconv_open(encoding_.c_str(), "CP932");
    if (cd == iconv_t(-1)) {
        encoding_ = "UTF-8";
        cd = iconv_open("UTF-8", "CP932");
    }
    cd_ = cd == iconv_t(-1) ? nullptr : cd;
}

TerminalText::~TerminalText() {
    if (cd_) iconv_close(iconv_t(cd_));
}

std::string TerminalText::fromCp932(const std::string& text) const {
    if (!cd_) return text;
    iconv_t cd = iconv_t(cd_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char buf[256];
    while (inLeft > 0) {
        char* o = buf;
        size_t oLeft = sizeof buf;
        const size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buf, size_t(o - buf));
        if (r == size_t(-1) && errno != E2BIG) {
            out += '?';  // an invalid or unshowable byte: skip it visibly
            ++in;
            --inLeft;
        }
    }
    return out;
}
