#include "codegen/output/replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {

constexpr int kMaxLinkHops = 40;  // what the kernel allows in one path
constexpr int kMaxNameTries = 100;

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

}  // namespace

FileKind fileKind(const char* name) {
    struct stat status;
    if (stat(name, &status) != 0) return FileKind::None;
    if (S_ISREG(status.st_mode)) return FileKind::Regular;
    if (S_ISDIR(status.st_mode)) return FileKind::Directory;
    return FileKind::Special;
}

ReplacementFile::ReplacementFile(const char* name) {
    const std::string path = resolveLinks(name);
    const size_t slash = path.rfind('/');
    directory_ = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    target_ = path.substr(slash + 1);

    struct stat old;
    bool replacing = false;
    if (lstat(path.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode)) return;
        // The old file could be replaced with no more than a writable
        // directory; ask for what writing it in place needed, so that a file
        // we may not write stays refused. O_NONBLOCK: should it have turned
        // into a FIFO since, the open fails rather than waits.
        const int probe = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
        if (probe < 0) return;
        const bool regular = fstat(probe, &old) == 0 && S_ISREG(old.st_mode);
        close(probe);
        if (!regular) return;
        replacing = true;
    }

    for (int attempt = 0; attempt < kMaxNameTries && file_ < 0; ++attempt) {
        const std::string candidate = temporaryName(target_);
        // O_EXCL also refuses a link placed under that name, dangling or not.
        file_ = open((directory_ + candidate).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                     0666);
        if (file_ >= 0) temporary_ = candidate;
        else if (errno != EEXIST) return;
    }
    if (file_ < 0 || !replacing) return;  // a new file gets the mode the umask gives, as before
    // The owner where we may keep it (root may), and the old permissions.
    if (fchown(file_, old.st_uid, old.st_gid) != 0) {
        // Not ours to give away: the file becomes ours, as a copy would.
    }
    if (fchmod(file_, old.st_mode & 07777) != 0) {
        // The mode is no part of the text; the umask's one will do.
    }
}

ReplacementFile::~ReplacementFile() { discard(); }

std::unique_ptr<SourceWriter> ReplacementFile::openWriter() {
    if (file_ < 0) return nullptr;
    // A duplicate shares the file position, so each writer goes on where
    // the last one closed, and closing a writer leaves the file open.
    const int copy = fcntl(file_, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return nullptr;
    std::FILE* stream = fdopen(copy, "wb");
    if (!stream) {
        close(copy);
        return nullptr;
    }
    return SourceWriter::adopt(stream);
}

bool ReplacementFile::commit() {
    if (file_ < 0) return false;
    // On the disk before it takes the name: a crash must not leave the name
    // on a file whose blocks never arrived.
    bool ok = fsync(file_) == 0;
    ok = close(file_) == 0 && ok;
    file_ = -1;
    ok = ok && std::rename((directory_ + temporary_).c_str(), (directory_ + target_).c_str()) == 0;
    if (!ok) {
        discard();
        return false;
    }
    // The directory is not synced: after a crash the name may still lead to
    // the old file, but whichever it leads to is whole.
    temporary_.clear();
    return true;
}

void ReplacementFile::discard() {
    if (file_ >= 0) close(file_);
    file_ = -1;
    if (!temporary_.empty()) unlink((directory_ + temporary_).c_str());
    temporary_.clear();
}
