// The Windows side of replacing the output file: rename() there refuses an
// existing target, MoveFileExA replaces it in one step.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "codegen/output/replacement_file.h"

namespace {

constexpr int kMaxNameTries = 100;

// Where the opened file really is, as a "\\?\" path: for a symbolic link
// or a junction (and under Wine, a Unix link) the file it leads to. The name
// itself when that cannot be told.
std::string finalPath(const char* name, HANDLE opened) {
    char path[32768];
    const DWORD length = GetFinalPathNameByHandleA(opened, path, sizeof path, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string(name);
}

}  // namespace

FileKind fileKind(const char* name) {
    const DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::None;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Directory;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return FileKind::Special;
    return FileKind::Regular;
}

ReplacementFile::ReplacementFile(const char* name) {
    std::string path = name;
    switch (fileKind(name)) {
    case FileKind::Directory:
    case FileKind::Special:
        return;
    case FileKind::Regular: {
        // Replacing needs only the directory; ask for what writing the old
        // file in place needed (not read-only, not locked by another
        // program), so that what could not be written stays refused.
        HANDLE old = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (old == INVALID_HANDLE_VALUE) return;
        path = finalPath(name, old);
        CloseHandle(old);
        break;
    }
    case FileKind::None:
        break;
    }
    const size_t slash = path.find_last_of("\\/");
    directory_ = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    target_ = path.substr(slash + 1);

    for (int attempt = 0; attempt < kMaxNameTries && file_ < 0; ++attempt) {
        const std::string candidate = temporaryName(target_);
        file_ = _open((directory_ + candidate).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                      _S_IREAD | _S_IWRITE);
        if (file_ >= 0) temporary_ = candidate;
        else if (errno != EEXIST) return;
    }
}

ReplacementFile::~ReplacementFile() { discard(); }

std::unique_ptr<SourceWriter> ReplacementFile::openWriter() {
    if (file_ < 0) return nullptr;
    // A duplicate shares the file position, so each writer goes on where
    // the last one closed, and closing a writer leaves the file open.
    const int copy = _dup(file_);
    if (copy < 0) return nullptr;
    std::FILE* stream = _fdopen(copy, "wb");
    if (!stream) {
        _close(copy);
        return nullptr;
    }
    return SourceWriter::adopt(stream);
}

bool ReplacementFile::commit() {
    if (file_ < 0) return false;
    // On the disk before it takes the name: a crash must not leave the name
    // on a file whose blocks never arrived.
    bool ok = _commit(file_) == 0;
    ok = _close(file_) == 0 && ok;
    file_ = -1;
    ok = ok && MoveFileExA((directory_ + temporary_).c_str(), (directory_ + target_).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void ReplacementFile::discard() {
    if (file_ >= 0) _close(file_);
    file_ = -1;
    if (!temporary_.empty()) DeleteFileA((directory_ + temporary_).c_str());
    temporary_.clear();
}
