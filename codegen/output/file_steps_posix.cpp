#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "codegen/output/file_steps.h"

namespace {

constexpr int kMaxLinkHops = 40;  // what the kernel allows in one path

// Follows the symbolic links that `path` names, one after the other, so
// that the file at the end of them is replaced and the links stay. Where
// that fails, what is returned is still a link and is refused.
std::string resolveLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status;
        if (lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        char buffer[4096];
        const ssize_t length = readlink(path.c_str(), buffer, sizeof buffer);
        if (length <= 0 || size_t(length) == sizeof buffer) return path;
        std::string next(buffer, size_t(length));
        const size_t slash = path.rfind('/');
        if (next[0] != '/' && slash != std::string::npos) next = path.substr(0, slash + 1) + next;
        path = next;
    }
    return path;
}

ReplaceTarget inspect(const char* name) {
    ReplaceTarget target;
    const std::string path = resolveLinks(name);
    const size_t slash = path.rfind('/');
    target.directory = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    target.name = path.substr(slash + 1);

    struct stat old;
    if (lstat(path.c_str(), &old) != 0) return target;
    target.state = ReplaceTarget::Refused;
    if (!S_ISREG(old.st_mode)) return target;
    // The old file could be replaced with no more than a writable directory;
    // ask for what writing it in place needed, so that a file we may not
    // write stays refused. O_NONBLOCK: should it have turned into a FIFO
    // since, the open fails rather than waits.
    const int probe = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    if (probe < 0) return target;
    const bool regular = fstat(probe, &old) == 0 && S_ISREG(old.st_mode);
    close(probe);
    if (!regular) return target;
    target.state = ReplaceTarget::Regular;
    target.mode = old.st_mode & 07777;
    target.owner = old.st_uid;
    target.group = old.st_gid;
    return target;
}

CreateResult createExclusive(const std::string& path, int& file) {
    // O_EXCL also refuses a link placed under that name, dangling or not.
    file = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
    if (file >= 0) return CreateResult::Created;
    return errno == EEXIST ? CreateResult::NameTaken : CreateResult::Failed;
}

void keepAttributes(int file, const ReplaceTarget& old) {
    // The owner where we may keep it (root may), and the old permissions.
    if (fchown(file, old.owner, old.group) != 0) {
        // Not ours to give away: the file becomes ours, as a copy would.
    }
    if (fchmod(file, old.mode) != 0) {
        // The mode is no part of the text; the umask's one will do.
    }
}

std::FILE* openStream(int file) {
    const int copy = fcntl(file, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return nullptr;
    std::FILE* stream = fdopen(copy, "wb");
    if (!stream) close(copy);
    return stream;
}

bool syncFile(int file) { return fsync(file) == 0; }

bool closeFile(int file) { return close(file) == 0; }

// The directory is not synced: after a crash the name may still lead to the
// old file, but whichever it leads to is whole.
bool replace(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

void remove(const std::string& path) { unlink(path.c_str()); }

}  // namespace

FileKind fileKind(const char* name) {
    struct stat status;
    if (stat(name, &status) != 0) return FileKind::None;
    if (S_ISREG(status.st_mode)) return FileKind::Regular;
    if (S_ISDIR(status.st_mode)) return FileKind::Directory;
    return FileKind::Special;
}

const FileSteps& platformFileSteps() {
    static const FileSteps steps = {inspect, createExclusive, keepAttributes, openStream,
                                    syncFile, closeFile,       replace,        remove};
    return steps;
}
