#include "codegen/output/source_writer.h"

#include <cstring>
#include <string>

std::unique_ptr<SourceWriter> SourceWriter::open(const char* name, const char* mode) {
    std::string binaryMode = mode;
    binaryMode += 'b';
    std::FILE* file = std::fopen(name, binaryMode.c_str());
    return adopt(file);
}

std::unique_ptr<SourceWriter> SourceWriter::adopt(std::FILE* file) {
    if (!file) return nullptr;
    return std::unique_ptr<SourceWriter>(new SourceWriter(file));
}

std::unique_ptr<SourceWriter> SourceWriter::intoText(std::string& text) {
    return std::unique_ptr<SourceWriter>(new SourceWriter(&text));
}

SourceWriter::~SourceWriter() { close(); }

int SourceWriter::writeText(const char* text) {
    if (text_) {
        *text_ += text;
        return 0;
    }
    if (!file_) return -1;
    bool ok = true;
    for (const char* p = text; *p;) {
        const char* lf = std::strchr(p, '\n');
        const size_t run = lf ? size_t(lf - p) : std::strlen(p);
        if (run && std::fwrite(p, 1, run, file_) != run) ok = false;
        if (!lf) break;
        if (std::fwrite("\r\n", 1, 2, file_) != 2) ok = false;
        p = lf + 1;
    }
    if (!ok) failed_ = true;
    return ok ? 0 : -1;
}

int SourceWriter::writeTemplateLine(const char* tmpl) {
    // The templates are fixed text without '%', so the characters produced
    // are exactly the template's; no formatting pass is needed.
    return writeText(tmpl) == 0 ? int(std::strlen(tmpl)) : -1;
}

int SourceWriter::writeIndented(int depth, const char* text) {
    std::string line(depth > 0 ? size_t(depth) : 0, '\t');
    line += text;
    return writeText(line.c_str());
}

int SourceWriter::close() {
    text_ = nullptr;
    if (!file_) return 0;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!ok) failed_ = true;
    return ok ? 0 : -1;
}
