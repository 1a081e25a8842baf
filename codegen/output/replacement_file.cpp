#include "codegen/output/replacement_file.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace {

constexpr int kMaxNameTries = 100;

// The exclusive creation is what keeps the file ours; the randomness only
// keeps other programs from choosing the name first.
std::uint64_t randomBits() {
    static std::mt19937_64 generator{[] {
        std::uint64_t seed = std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
        try {
            std::random_device device;
            seed ^= std::uint64_t(device()) << 32 ^ device();
        } catch (...) {
            // No entropy source here: the clock alone has to do.
        }
        return seed;
    }()};
    return generator();
}

}  // namespace

std::string temporaryName(const std::string& target) {
    static const char kSymbols[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uint64_t bits = randomBits();
    std::string name = "." + target + ".";
    for (int i = 0; i < 6; ++i, bits /= 62) name += kSymbols[bits % 62];
    return name;
}

ReplacementFile::ReplacementFile(const char* name, const FileSteps& steps) : steps_(steps) {
    const ReplaceTarget target = steps_.inspect(name);
    if (target.state == ReplaceTarget::Refused) return;
    directory_ = target.directory;
    target_ = target.name;
    for (int attempt = 0; attempt < kMaxNameTries && file_ < 0; ++attempt) {
        const std::string candidate = temporaryName(target_);
        const CreateResult made = steps_.createExclusive(directory_ + candidate, file_);
        if (made == CreateResult::Created) temporary_ = candidate;
        else file_ = -1;
        if (made == CreateResult::Failed) return;
    }
    // A new file gets the mode the umask gives, as before.
    if (file_ >= 0 && target.state == ReplaceTarget::Regular) steps_.keepAttributes(file_, target);
}

ReplacementFile::~ReplacementFile() { discard(); }

std::unique_ptr<SourceWriter> ReplacementFile::openWriter() {
    if (file_ < 0) return nullptr;
    // Each writer goes on where the last one closed, and closing a writer
    // leaves the file open.
    return SourceWriter::adopt(steps_.openStream(file_));
}

bool ReplacementFile::commit() {
    if (file_ < 0) return false;
    // On the disk before it takes the name: a crash must not leave the name
    // on a file whose blocks never arrived.
    bool ok = steps_.sync(file_);
    ok = steps_.close(file_) && ok;
    file_ = -1;
    ok = ok && steps_.replace(directory_ + temporary_, directory_ + target_);
    if (!ok) {
        discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void ReplacementFile::discard() {
    if (file_ >= 0) steps_.close(file_);
    file_ = -1;
    if (!temporary_.empty()) steps_.remove(directory_ + temporary_);
    temporary_.clear();
}
