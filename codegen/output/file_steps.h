// The platform's part in replacing a file all at once: each step one call
// of the system, with no policy. ReplacementFile is the one algorithm over
// them. The steps are a table of plain functions so that a test can swap
// one of them for a failing one and watch the algorithm keep the old file.
#pragma once

#include <cstdio>
#include <string>

// What a name refers to once links are followed. None also when that cannot
// be told (a link loop, a path through a regular file); such a name fails
// later the way an unopenable file always has.
enum class FileKind { None, Regular, Directory, Special };

// Never opens the name, so a FIFO or a device cannot block or be disturbed.
FileKind fileKind(const char* name);

// The file that writing to a name would change.
struct ReplaceTarget {
    enum State {
        Absent,    // nothing there yet: a new file is made
        Regular,   // a regular file that we could have written in place
        Refused,   // anything else (not regular, or not ours to write)
    } state = Absent;
    // Where that file is, links followed: its directory with the separator
    // ("" for the current one) and its name there.
    std::string directory, name;
    // The old file's permission bits and owner, where the platform keeps
    // them on the new file (POSIX).
    unsigned mode = 0, owner = 0, group = 0;
};

enum class CreateResult { Created, NameTaken, Failed };

struct FileSteps {
    ReplaceTarget (*inspect)(const char* name);
    // Makes `path` as a new empty file open for writing, never through a
    // link and never over an existing name; the descriptor goes to `file`.
    CreateResult (*createExclusive)(const std::string& path, int& file);
    // Gives the new file what it can keep of the old one's attributes.
    void (*keepAttributes)(int file, const ReplaceTarget& old);
    // A binary stream on a duplicate of `file`: it shares the file position
    // and closing it leaves `file` open. Null when that fails.
    std::FILE* (*openStream)(int file);
    bool (*sync)(int file);  // true when the data is on the disk
    bool (*close)(int file);
    // Puts `from` in the place of `to` in one step, replacing what is there.
    bool (*replace)(const std::string& from, const std::string& to);
    void (*remove)(const std::string& path);
};

// The steps of the platform the program was built for.
const FileSteps& platformFileSteps();
