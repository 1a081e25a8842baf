// The whole program against faults of the file system, set up so that root
// meets them too: what the user is told, the exit status, and that no file
// that was there before is changed unless the user said Yes to that, nor
// then unless the new file was written in full.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
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

// The flags of `unshare` under which SCRIPT, mounting something on the
// directory d, works here and leaves d as it was outside; empty when no
// way of doing so works.
std::vector<std::string> mountNamespaceFlags(const char* script) {
    static const char* const variants[] = {"-m", "-rm"};
    for (const char* flags : variants) {
        ScratchDir probe;
        fs::create_directory("d");
        const ProcessResult r = runProcess({"/usr/bin/unshare", flags, "/bin/sh", "-c", script});
        if (r.status == 0 && !pathExists("d/x")) return {flags};
    }
    return {};
}

// For `unshare <flags> sh -c SCRIPT sh DIR PROGRAM ARGS...`, where the
// script mounts DIR read-only over itself and runs the rest.
std::vector<std::string> readOnlyMountFlags() {
    return mountNamespaceFlags("mount --bind d d && mount -o remount,bind,ro d && ! touch d/x 2>/dev/null");
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
    const struct {
        const char* what;
        mode_t mode;
        std::vector<std::string> lengths;
        std::string err;
    } cases[] = {
        {"directory enterable, writable only by its owner", 0755, {"12", "60"}, kFourOpenReports + kFourOpenReports},
        // The new file is made beside the old one and renamed over it, which
        // needs only the directory; a file the user may not write stays
        // refused all the same.
        {"directory open to all, file only to its owner", 0777, {"12"}, kFourOpenReports},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        chmod(".", c.mode);
        writeFile("FFT12.cpp", kOldBytes);
        std::vector<std::string> argv = drop;
        argv.insert(argv.end(), {kProgram, "-y", "-C", dir.path()});
        argv.insert(argv.end(), c.lengths.begin(), c.lengths.end());
        const ProcessResult r = runProcess(argv);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, c.err);
        EXPECT_EQ(entries(), std::vector<std::string>{"FFT12.cpp"});
        EXPECT_EQ(readFile("FFT12.cpp"), kOldBytes);
    }
}

// A write that fails half-way, on a full disk or past a file-size limit:
// each function writer reports it, and the directory is left as it was,
// the old file byte for byte, no partial file, no temporary one.
TEST(FileFaults, FullDisk) {
    // The program works in `work`, filled from `before` and copied to
    // `after` once it has run, so that what a mount hid can be seen.
    const std::string run = "cp -a before/. work/ && (\"$0\" \"$@\"); s=$?; cp -a work/. after/; exit $s";
    struct Way {
        const char* what;
        std::vector<std::string> argv;
    };
    std::vector<Way> ways = {
        // 4 blocks of 512 bytes: the preamble fits, the first function does not.
        {"file-size limit", {"/bin/sh", "-c", "ulimit -f 4 && " + run}},
    };
    const auto flags = mountNamespaceFlags("mount -t tmpfs -o size=8k kalvorin d && touch d/x");
    if (flags.empty())
        std::printf("note: no tmpfs in a mount namespace here; only the file-size limit is tried\n");
    else
        ways.push_back({"full tmpfs", {"/usr/bin/unshare", flags[0], "/bin/sh", "-c",
                                       "mount -t tmpfs -o size=8k kalvorin work && " + run}});
    for (const auto& way : ways)
        for (const bool old : {false, true}) {
            SCOPED_TRACE(std::string(way.what) + (old ? ", old file" : ", no file"));
            ScratchDir dir;
            for (const char* d : {"before", "work", "after"}) fs::create_directory(d);
            if (old) writeFile("before/FFT1024.cpp", kOldBytes);
            std::vector<std::string> argv = way.argv;
            argv.insert(argv.end(), {kProgram, "-y", "-C", "work", "1024"});
            const ProcessResult r = runProcess(argv);
            EXPECT_EQ(r.status, 1);
            EXPECT_FALSE(r.err.empty());
            for (size_t pos = 0; pos < r.err.size(); pos += kWriteFailed.size())
                ASSERT_EQ(r.err.compare(pos, kWriteFailed.size(), kWriteFailed), 0) << r.err;
            EXPECT_EQ(entries("after"), entries("before"));
            if (old) {
                EXPECT_EQ(readFile("after/FFT1024.cpp"), kOldBytes);
            }
        }
}

// A FIFO or a device in the file's place is nothing to replace: the program
// says so at once, without opening it (a FIFO would wait for a reader for
// ever) and without asking whether to overwrite it.
TEST(FileFaults, NameTakenByAFifoOrADevice) {
    const struct {
        const char* what;
        const char* linkTo;  // a link to this in the file's place; a FIFO when null
    } cases[] = {
        {"FIFO", nullptr},
        {"link to a full disk", "/dev/full"},
        {"link to the null device", "/dev/null"},
    };
    const std::string refusal = "FFT12.cppは通常のファイルではないため、書き込めません。";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        if (c.linkTo) fs::create_symlink(c.linkTo, "FFT12.cpp");
        else ASSERT_EQ(mkfifo("FFT12.cpp", 0644), 0);
        const fs::file_status before = fs::symlink_status("FFT12.cpp");
        const ProcessResult r = runProcess({"/usr/bin/timeout", "10", kProgram, "-y", "12"});
        ASSERT_NE(r.status, 124) << "the program waited on the file";
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, refusal + "\n");
        EXPECT_EQ(entries(), std::vector<std::string>{"FFT12.cpp"});
        EXPECT_EQ(fs::symlink_status("FFT12.cpp").type(), before.type());
        if (c.linkTo) {
            EXPECT_EQ(fs::read_symlink("FFT12.cpp"), c.linkTo);
        }

        RecordingDialogs ui;
        EXPECT_EQ(onGenerate("12", ui).outcome, GenerateOutcome::RefusedSpecialFile);
        ASSERT_EQ(ui.calls.size(), 3u);
        EXPECT_EQ(ui.calls[1].op, "ask");
        EXPECT_EQ(ui.calls[2], (RecordingDialogs::Call{"message", cp932(refusal), ""}));
    }
}

// A link in the file's place: the file it leads to is replaced, keeping its
// permissions, and the links stay as they were.
TEST(FileFaults, LinkInTheFilesPlace) {
    const struct {
        const char* what;
        bool absolute;  // the first link leads through a second one, by an absolute path
        bool present;
    } cases[] = {
        {"relative link to a file", false, true},
        {"link to a file not yet made", false, false},
        {"absolute link to a link to a file", true, true},
    };
    const mode_t umaskNow = umask(0);
    umask(umaskNow);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        fs::create_directory("sub");
        std::vector<std::pair<std::string, std::string>> links = {{"FFT12.cpp", "sub/target.cpp"}};
        if (c.absolute) links = {{"FFT12.cpp", dir.path() + "/sub/hop"}, {"sub/hop", "target.cpp"}};
        for (const auto& [from, to] : links) fs::create_symlink(to, from);
        if (c.present) {
            writeFile("sub/target.cpp", kOldBytes);
            chmod("sub/target.cpp", 0604);
        }
        const ProcessResult r = runProcess({kProgram, "-y", "12"});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(readFile("sub/target.cpp"), readFile(KALVORIN_TEST_DATA "/FFT12.cpp"));
        for (const auto& [from, to] : links) EXPECT_EQ(fs::read_symlink(from), to);
        struct stat status;
        ASSERT_EQ(stat("sub/target.cpp", &status), 0);
        EXPECT_EQ(status.st_mode & 07777, c.present ? 0604 : 0666 & ~umaskNow);
        EXPECT_EQ(entries(), (std::vector<std::string>{"FFT12.cpp", "sub"}));
        const std::vector<std::string> inSub = {"hop", "target.cpp"};
        EXPECT_EQ(entries("sub"), std::vector<std::string>(inSub.begin() + (c.absolute ? 0 : 1), inSub.end()));
    }
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
