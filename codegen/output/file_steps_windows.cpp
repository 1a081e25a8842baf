// The Windows side of replacing the output file: rename() there refuses an
// existing target, MoveFileExA replaces it in one step.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "codegen/output/file_steps.h"

namespace {

// Where the opened file really is, as a "\\?\" path: for a symbolic link
// or a junction (and under Wine, a Unix link) the file it leads to. The name
// itself when that cannot be told.
std::string finalPath(const char* name, HANDLE opened) {
    char path[32768];
    const DWORD length = GetFinalPathNameByHandleA(opened, path, sizeof path, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string(name);
}

// Another program that holds a file open without letting it be deleted (a
// virus scanner or an indexer looking at a file just written, anyone at all
// under Wine, which replaces no open file) makes a rename or a delete fail
// for as long as it looks. Such a failure is tried again for up to a second.
template <typename Step>
bool withRetries(Step step) {
    for (int attempt = 0;; ++attempt) {
        if (step()) return true;
        const DWORD error = GetLastError();
        const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
                          error == ERROR_LOCK_VIOLATION;
        if (!held || attempt == 20) return false;
        Sleep(50);
    }
}

ReplaceTarget inspect(const char* name) {
    ReplaceTarget target;
    std::string path = name;
    switch (fileKind(name)) {
    case FileKind::Directory:
    case FileKind::Special:
        target.state = ReplaceTarget::Refused;
        return target;
    case FileKind::Regular: {
        // Replacing needs only the directory; ask for what writing the old
        // file in place needed (not read-only, not locked by another
        // program), so that what could not be written stays refused.
        HANDLE old = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (old == INVALID_HANDLE_VALUE) {
            target.state = ReplaceTarget::Refused;
            return target;
        }
        path = finalPath(name, old);
        CloseHandle(old);
        target.state = ReplaceTarget::Regular;
        break;
    }
    case FileKind::None:
        break;
    }
    const size_t slash = path.find_last_of("\\/");
    target.directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    target.name = path.substr(slash + 1);
    return target;
}

CreateResult createExclusive(const std::string& path, int& file) {
    file = _open(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
    if (file >= 0) return CreateResult::Created;
    return errno == EEXIST ? CreateResult::NameTaken : CreateResult::Failed;
}

// Windows keeps no owner or mode bits that the file could take over.
void keepAttributes(int, const ReplaceTarget&) {}

std::FILE* openStream(int file) {
    const int copy = _dup(file);
    if (copy < 0) return nullptr;
    std::FILE* stream = _fdopen(copy, "wb");
    if (!stream) _close(copy);
    return stream;
}

bool syncFile(int file) { return _commit(file) == 0; }

bool closeFile(int file) { return _close(file) == 0; }

bool replace(const std::string& from, const std::string& to) {
    return withRetries(
        [&] { return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH); });
}

void remove(const std::string& path) {
    withRetries([&] { return DeleteFileA(path.c_str()); });
}

}  // namespace

FileKind fileKind(const char* name) {
    const DWORD attributes = GetFileAttributesA(name);
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::None;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Directory;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return FileKind::Special;
    return FileKind::Regular;
}

const FileSteps& platformFileSteps() {
    static const FileSteps steps = {inspect, createExclusive, keepAttributes, openStream,
                                    syncFile, closeFile,       replace,        remove};
    return steps;
}
