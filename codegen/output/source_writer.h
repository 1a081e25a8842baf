// The only way the system writes text into files. The generated file is a
// byte stream we control: files are opened in binary mode and every LF is
// written as CR LF here, so the bytes are the same on every platform.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

class SourceWriter {
public:
    // mode is "w", "a" or "r+". Returns null when the file cannot be opened
    // with the access that mode needs (a directory never opens).
    static std::unique_ptr<SourceWriter> open(const char* name, const char* mode);
    // Takes over a stream opened in binary mode for writing; null for null.
    static std::unique_ptr<SourceWriter> adopt(std::FILE* file);
    // Appends to text, LF kept, until closed: for a generator that goes over
    // its text once more before the text is written into a file.
    static std::unique_ptr<SourceWriter> intoText(std::string& text);

    ~SourceWriter();
    SourceWriter(const SourceWriter&) = delete;
    SourceWriter& operator=(const SourceWriter&) = delete;

    // 0 when every byte was accepted, -1 otherwise.
    int writeText(const char* text);
    // A fixed template line; the number of characters produced, or -1.
    int writeTemplateLine(const char* tmpl);
    // depth TABs (none for depth <= 0), then text.
    int writeIndented(int depth, const char* text);
    // Flushes and closes; 0 on success, -1 on failure. Further calls do nothing.
    int close();

    // True once any write or the close has failed.
    bool failed() const { return failed_; }

private:
    explicit SourceWriter(std::FILE* file) : file_(file) {}
    explicit SourceWriter(std::string* text) : file_(nullptr), text_(text) {}
    std::FILE* file_;
    std::string* text_ = nullptr;
    bool failed_ = false;
};
