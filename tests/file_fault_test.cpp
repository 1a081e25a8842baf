// The whole program against faults of the file system, set up so that root
// meets them too: what the user is told, the exit status, and that no file
// that was there before is changed unless the user said Yes to that.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "command/generate_command.h"
#include "process_runner.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

const std::string kProgram = KALVORIN_PROGRAM;
const std::string kOpenFailed = "ファイルのオープンに失敗しました。\n";
const std::string kAppendOpenFailed = "ファイルがオープンに失敗しました。\nシステムに問題があります。\n";
const std::string kWriteFailed = "ファイルの書き込みに失敗しました。\n";
// The preamble writer and each of the three function writers report alone.
const std::string kFourOpenReports = kOpenFailed + kAppendOpenFailed + kAppendOpenFailed + kAppendOpenFailed;
// Bytes no generator would write, so any change shows.
const std::string kOldBytes = std::string("old\r\n\0\x81\x40 kept", 14);

std::vector<std::string> entries(const std::string& dir = ".") {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The file the program writes for n when nothing goes wrong.
std::string goodFile(int32_t n) {
    ScratchDir dir;
    RecordingDialogs ui;
    onGenerate(std::to_string(n), ui);
    return readFile("FFT" + std::to_string(n) + ".cpp");
}

TEST(FileFaults, OutputNameTakenByADirectory) {
    const struct {
        std::vector<std::string> argv;
        std::string err;
    } cases[] = {
        {{kProgram, "-y", "12"}, kFourOpenReports},
        // A directory is no file to overwrite, so only the first question is
        // asked, and with nobody to ask the answer is No.
        {{kProgram, "12"}, "kalvorin: no terminal to ask; the answer is No (pass --yes to answer Yes)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argv[1]);
        ScratchDir dir;
        fs::create_directory("FFT12.cpp");
        writeFile("FFT12.cpp/inside", kOldBytes);
        const ProcessResult r = runProcess(c.argv);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(fs::is_directory("FFT12.cpp"));
        EXPECT_EQ(entries("FFT12.cpp"), std::vector<std::string>{"inside"});
        EXPECT_EQ(readFile("FFT12.cpp/inside"), kOldBytes);
    }
}

TEST(FileFaults, DirectoryThatCannotBeEntered) {
    ScratchDir dir;
    writeFile("plain", kOldBytes);
    const struct {
        const char* dir;
        const char* reason;
    } cases[] = {
        {"plain/sub", "Not a directory"},     // a path through a regular file
        {"plain", "Not a directory"},
        {"missing/sub", "No such file or directory"},  // never created on the way
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dir);
        const ProcessResult r = runProcess({kProgram, "-y", "-C", c.dir, "12"}, "", {"LC_ALL=C"});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "kalvorin: cannot work in '" + std::string(c.dir) + "': " + c.reason + "\n");
        EXPECT_EQ(entries(), std::vector<std::string>{"plain"});
        EXPECT_EQ(readFile("plain"), kOldBytes);
    }
}

// Runs `unshare <flags> sh -c SCRIPT sh DIR PROGRAM ARGS...`, where the
// script mounts DIR read-only over itself and runs the rest. Empty flags
// when no way of doing so works here.
std::vector<std::string> readOnlyMountFlags() {
    static const char* const variants[] = {"-m", "-rm"};
    for (const char* flags : variants) {
        ScratchDir probe;
        fs::create_directory("d");
        const ProcessResult r = runProcess({"/usr/bin/unshare", flags, "/bin/sh", "-c",
                                            "mount --bind d d && mount -o remount,bind,ro d && ! touch d/x 2>/dev/null"});
        if (r.status == 0 && !pathExists("d/x")) return {flags};
    }
    return {};
}

TEST(FileFaults, ReadOnlyDirectory) {
    const auto flags = readOnlyMountFlags();
    if (flags.empty()) GTEST_SKIP() << "no read-only bind mount in this sandbox (unshare -m / -rm refused)";
    ScratchDir dir;
    fs::create_directory("ro");
    writeFile("ro/FFT12.cpp", kOldBytes);
    std::vector<std::string> argv = {"/usr/bin/unshare"};
    argv.insert(argv.end(), flags.begin(), flags.end());
    argv.insert(argv.end(), {"/bin/sh", "-c",
                             "mount --bind \"$1\" \"$1\" && mount -o remount,bind,ro \"$1\" && shift && exec \"$@\"",
                             "sh", fs::absolute("ro").string(), kProgram, "-y", "-C", "ro", "12", "60"});
    const ProcessResult r = runProcess(argv);
    EXPECT_EQ(r.status, 1);
    // The present file cannot be opened for update, so it counts as absent:
    // no question about overwriting it, four reports for each length.
    EXPECT_EQ(r.err, kFourOpenReports + kFourOpenReports);
    EXPECT_NE(r.out.find("2　2　3　5　"), std::string::npos) << r.out;
    EXPECT_EQ(entries("ro"), std::vector<std::string>{"FFT12.cpp"});
    EXPECT_EQ(readFile("ro/FFT12.cpp"), kOldBytes);
}

TEST(FileFaults, DirectoryOfAnotherUserWithoutCapabilities) {
    const std::vector<std::string> drop = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                                           "--inh-caps=-all", "--bounding-set=-all"};
    std::vector<std::string> probe = drop;
    probe.insert(probe.end(), {kProgram, "--version"});
    if (geteuid() != 0 || runProcess(probe).status != 0)
        GTEST_SKIP() << "cannot run the program as an unprivileged user here (needs root and setpriv)";
    ScratchDir dir;
    chmod(".", 0755);  // enterable by the other user, writable only by its owner
    writeFile("FFT12.cpp", kOldBytes);
    std::vector<std::string> argv = drop;
    argv.insert(argv.end(), {kProgram, "-y", "-C", dir.path(), "12", "60"});
    const ProcessResult r = runProcess(argv);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, kFourOpenReports + kFourOpenReports);
    EXPECT_EQ(entries(), std::vector<std::string>{"FFT12.cpp"});
    EXPECT_EQ(readFile("FFT12.cpp"), kOldBytes);
}

TEST(FileFaults, FullDisk) {
    ScratchDir dir;
    fs::create_symlink("/dev/full", "FFT12.cpp");
    // Every byte is refused, so each of the four writers reports its failed
    // write once, and the run is not a success.
    const ProcessResult r = runProcess({kProgram, "-y", "12"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, kWriteFailed + kWriteFailed + kWriteFailed + kWriteFailed);
    EXPECT_EQ(fs::read_symlink("FFT12.cpp"), "/dev/full");
    EXPECT_EQ(entries(), std::vector<std::string>{"FFT12.cpp"});
}

TEST(FileFaults, FileSizeLimit) {
    ScratchDir dir;
    // 4 blocks of 512 bytes: the preamble fits, the first function does not.
    const ProcessResult r = runProcess(
        {"/bin/sh", "-c", "trap '' XFSZ; ulimit -f 4 && exec \"$0\" \"$@\"", kProgram, "-y", "60"});
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(r.err.empty());
    for (size_t pos = 0; pos < r.err.size(); pos += kWriteFailed.size())
        ASSERT_EQ(r.err.compare(pos, kWriteFailed.size(), kWriteFailed), 0) << r.err;
    const std::string partial = readFile("FFT60.cpp"), full = goodFile(60);
    EXPECT_LT(partial.size(), full.size());
    EXPECT_EQ(full.compare(0, partial.size(), partial), 0) << "what did reach the file is not the right text";
}

TEST(FileFaults, StandardOutputOnAFullDisk) {
    ScratchDir dir;
    const ProcessResult r = runProcess({"/bin/sh", "-c", "exec \"$0\" \"$@\" >/dev/full", kProgram, "-y", "12"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "kalvorin: write error on standard output\n");
    EXPECT_EQ(readFile("FFT12.cpp"), goodFile(12));  // the file itself is fine
    const ProcessResult help = runProcess({"/bin/sh", "-c", "exec \"$0\" --help >/dev/full", kProgram});
    EXPECT_EQ(help.status, 1);
}

TEST(FileFaults, ExistingFileKeptWithoutAYes) {
    struct Case {
        const char* what;
        std::vector<std::string> argv;
        std::string input;
    };
    const Case cases[] = {
        {"argument, no terminal", {kProgram, "12"}, ""},
        {"lengths through a pipe, no terminal", {kProgram}, "12\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        writeFile("FFT12.cpp", kOldBytes);
        const ProcessResult r = runProcess(c.argv, c.input);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(readFile("FFT12.cpp"), kOldBytes);
        EXPECT_EQ(entries(), std::vector<std::string>{"FFT12.cpp"});
    }
}

}  // namespace
