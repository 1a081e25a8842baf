#include "test_support.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string cp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == iconv_t(-1)) throw std::runtime_error("iconv has no CP932");
    std::string in = utf8, out(utf8.size() * 2 + 8, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t srcLeft = in.size(), dstLeft = out.size();
    const size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (r == size_t(-1)) throw std::runtime_error("not convertible to CP932: " + utf8);
    out.resize(out.size() - dstLeft);
    return out;
}

ScratchDir::ScratchDir(ScratchPlace place) {
    const bool memory = place == ScratchPlace::Memory && std::filesystem::is_directory("/dev/shm");
    std::string tmpl = memory ? "/dev/shm/kalvorin-test-XXXXXX" : "/tmp/kalvorin-test-XXXXXX";
    path_ = mkdtemp(&tmpl[0]);
    previous_ = std::filesystem::current_path().string();
    std::filesystem::current_path(path_);
}

ScratchDir::~ScratchDir() {
    std::filesystem::current_path(previous_);
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool pathExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::symlink_status(path, ec).type() != std::filesystem::file_type::not_found;
}

std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t pos; (pos = bytes.find("\r\n", start)) != std::string::npos; start = pos + 2)
        lines.push_back(bytes.substr(start, pos - start));
    EXPECT_EQ(start, bytes.size()) << "bytes after the last CR LF";
    for (const auto& line : lines) EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
    return lines;
}

std::string fileBytes(const std::string& utf8) {
    std::string out;
    for (char c : cp932(utf8)) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

RadixPlan planFor(int32_t n) {
    RadixPlan plan;
    plan.length = n;
    plan.lengthText = std::to_string(n);
    const int count = factorise(plan, n);
    if (count) completePlan(plan, count);
    return plan;
}

RadixPlan planFromFactors(int32_t n, const std::vector<int32_t>& factors) {
    RadixPlan plan;
    plan.length = n;
    plan.lengthText = std::to_string(n);
    std::copy(factors.begin(), factors.end(), plan.factors.begin());
    completePlan(plan, int(factors.size()));
    return plan;
}

std::vector<std::string> traceOf12(std::initializer_list<int> stagesAsked) {
    static const std::vector<std::string> kStage[] = {
        {"h=0  l=0\n"},
        {"h=1  l=1\n", "h=1  l=0\n"},
        {"h=2  l=2\n", "h=2  l=1\n", "h=2  l=0\n"},
    };
    std::vector<std::string> lines;
    for (int h : stagesAsked) lines.insert(lines.end(), kStage[h].begin(), kStage[h].end());
    return lines;
}

std::vector<std::string> functionTraceOf12() { return traceOf12({0, 1, 2, 0, 0, 1, 1, 2, 2}); }

std::vector<std::string> fileTraceOf12() {
    std::vector<std::string> lines;
    for (int function = 0; function < 3; ++function) {
        const std::vector<std::string> one = functionTraceOf12();
        lines.insert(lines.end(), one.begin(), one.end());
    }
    return lines;
}

void expectFft12(bool written, bool present, const std::string& previous) {
    if (written)
        EXPECT_EQ(readFile("FFT12.cpp"), readFile(KALVORIN_TEST_DATA "/FFT12.cpp"));
    else if (present)
        EXPECT_EQ(readFile("FFT12.cpp"), previous);
    else
        EXPECT_FALSE(pathExists("FFT12.cpp"));
}
