// The output file is replaced all at once or not at all. The writers write
// into a temporary file next to it, made exclusively under a random name;
// only commit() puts it in the output file's place, in one rename, so a
// failed write leaves the old file (or no file) exactly as it was.
#pragma once

#include <memory>
#include <string>

#include "codegen/output/file_steps.h"
#include "codegen/output/source_writer.h"

class ReplacementFile {
public:
    // Makes the temporary file for `name`. Where `name` is a symbolic link,
    // the file it leads to is the one replaced and the link stays. Nothing
    // is made when the name exists but is no regular file, or is a file we
    // may not write (it could not be opened for writing before either).
    // The platform's steps are taken from `steps`, which must outlive the
    // object; a test gives steps that fail.
    explicit ReplacementFile(const char* name, const FileSteps& steps = platformFileSteps());
    // Removes the temporary file unless it has been committed.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // A writer that continues the temporary file where the last one
    // stopped; null when there is no temporary file.
    std::unique_ptr<SourceWriter> openWriter();

    // Flushes the temporary file to the disk, closes it and puts it in the
    // output file's place in one step. False when any of that failed; the
    // temporary file is gone either way.
    bool commit();

private:
    void discard();

    const FileSteps& steps_;
    std::string directory_;  // where the replaced file is, "" for the current directory
    std::string target_;     // its name in that directory
    std::string temporary_;  // the temporary file's name there, "" once it is gone
    int file_ = -1;          // the temporary file's descriptor
};

// ".<target>." and six random letters and digits: a name no other program
// would choose, hidden from a plain directory listing on POSIX.
std::string temporaryName(const std::string& target);
