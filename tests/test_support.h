// Helpers shared by the tests.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "command/user_dialogs.h"

// The code page 932 bytes of a UTF-8 text, converted at run time with iconv,
// independently of how the program's own texts were compiled.
std::string cp932(const std::string& utf8);

// A fake UserDialogs that records every call and answers from a script
// (Yes when the script runs out, unless told otherwise).
struct RecordingDialogs : UserDialogs {
    struct Call {
        std::string op, text, caption;
        bool operator==(const Call& o) const { return op == o.op && text == o.text && caption == o.caption; }
    };
    std::vector<Call> calls;
    std::vector<bool> answers;
    bool defaultAnswer = true;

    void showMessage(const char* text, const char* caption) override { calls.push_back({"message", text, caption}); }
    bool askYesNo(const char* text, const char* caption) override {
        calls.push_back({"ask", text, caption});
        if (answers.empty()) return defaultAnswer;
        bool a = answers.front();
        answers.erase(answers.begin());
        return a;
    }
    void showFactors(const char* text) override { calls.push_back({"factors", text, ""}); }
};

// A fresh empty directory that the test works in; removed with its content
// when the object goes, and the previous working directory restored.
// Memory puts it on a RAM disk where there is one: every written file is
// synced before it takes its name, which a disk makes a test of thousands
// of files wait for.
enum class ScratchPlace { Disk, Memory };
class ScratchDir {
public:
    explicit ScratchDir(ScratchPlace place = ScratchPlace::Disk);
    ~ScratchDir();
    const std::string& path() const { return path_; }

private:
    std::string path_, previous_;
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);
bool pathExists(const std::string& path);

// Splits file bytes into lines at CR LF; fails the test on a bare LF or CR.
std::vector<std::string> crlfLines(const std::string& bytes);

// Collects the lines of the diagnostic trace that its sink is given.
struct TraceCapture {
    std::vector<std::string> lines;
    std::function<void(const std::string&)> sink() {
        return [this](const std::string& line) { lines.push_back(line); };
    }
};

// The file form of a text: UTF-8 converted to code page 932, LF to CR LF.
std::string fileBytes(const std::string& utf8);

#include "plan/radix_plan.h"

// The completed plan of a composite length, with the decimal text the
// command would store; for a refused length only length and text are set.
RadixPlan planFor(int32_t n);

// The completed plan of n from its prime factors (ascending, two or more)
// found by other means than the program's factorisation.
RadixPlan planFromFactors(int32_t n, const std::vector<int32_t>& factors);

// The trace for 12, whose plan has three stages: asking whether stage h
// wraps writes "h=<h>  l=<l>" for l from h down to 0. These are the lines
// of the stages asked, in order.
std::vector<std::string> traceOf12(std::initializer_list<int> stagesAsked);

// What one classic function for 12 writes: every stage once (whether to
// declare iBuffer), then each stage twice in a row (its index line).
std::vector<std::string> functionTraceOf12();

// What the whole classic FFT12.cpp writes: the trace of its three functions.
std::vector<std::string> fileTraceOf12();

// After a command for 12 in the current directory: FFT12.cpp is the golden
// file when written, else still holds `previous` when it was there before,
// else is absent.
void expectFft12(bool written, bool present, const std::string& previous);
