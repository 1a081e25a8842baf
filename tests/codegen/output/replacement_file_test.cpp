#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "codegen/output/replacement_file.h"
#include "codegen/output/write_report.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// Every name in the current directory, hidden ones too.
std::vector<std::string> entries() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(".")) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReplacementFile, TakesOnOnlyWhatItCanReplace) {
    const struct {
        const char* what;
        void (*make)();
        FileKind kind;
        bool opens;
    } cases[] = {
        {"nothing", [] {}, FileKind::None, true},
        {"regular file", [] { writeFile("out.cpp", "old"); }, FileKind::Regular, true},
        {"dangling link", [] { fs::create_symlink("missing.cpp", "out.cpp"); }, FileKind::None, true},
        {"directory", [] { fs::create_directory("out.cpp"); }, FileKind::Directory, false},
        {"FIFO", [] { ASSERT_EQ(mkfifo("out.cpp", 0644), 0); }, FileKind::Special, false},
        {"link to a device", [] { fs::create_symlink("/dev/null", "out.cpp"); }, FileKind::Special, false},
        {"link loop", [] { fs::create_symlink("out.cpp", "out.cpp"); }, FileKind::None, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        c.make();
        EXPECT_EQ(fileKind("out.cpp"), c.kind);
        const auto before = entries();
        {
            ReplacementFile file("out.cpp");
            EXPECT_EQ(file.openWriter() != nullptr, c.opens);
        }
        EXPECT_EQ(entries(), before) << "something was left without a commit";
    }
}

TEST(ReplacementFile, ChangesTheFileOnlyAtCommit) {
    enum Step { Commit, Abandon, DirectoryInTheWay };
    const struct {
        const char* what;
        bool old;
        Step step;
        bool committed;
    } cases[] = {
        {"new file", false, Commit, true},
        {"old file", true, Commit, true},
        {"new file abandoned", false, Abandon, false},
        {"old file abandoned", true, Abandon, false},
        // rename cannot put a file over a directory: the user is told the
        // file was not written.
        {"name taken by a directory meanwhile", false, DirectoryInTheWay, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        if (c.old) writeFile("out.cpp", "old");
        {
            ReplacementFile file("out.cpp");
            // Each writer goes on where the previous one closed.
            for (const char* text : {"ab\n", "c", "d\n"}) {
                auto writer = file.openWriter();
                ASSERT_TRUE(writer);
                writer->writeText(text);
                EXPECT_EQ(writer->close(), 0);
            }
            EXPECT_EQ(pathExists("out.cpp") ? readFile("out.cpp") : "absent", c.old ? "old" : "absent");
            if (c.step == DirectoryInTheWay) fs::create_directory("out.cpp");
            if (c.step != Abandon) {
                RecordingDialogs ui;
                EXPECT_EQ(commitAndReport(file, ui), c.committed);
                ASSERT_EQ(ui.calls.size(), c.committed ? 0u : 1u);
                if (!c.committed) {
                    EXPECT_EQ(ui.calls[0], (RecordingDialogs::Call{"message", cp932("ファイルの書き込みに失敗しました。"), ""}));
                }
                EXPECT_FALSE(file.openWriter()) << "a committed or failed file takes no more text";
            }
        }
        EXPECT_EQ(entries(), c.old || c.step != Abandon ? std::vector<std::string>{"out.cpp"}
                                                        : std::vector<std::string>{});
        if (c.step == DirectoryInTheWay) {
            EXPECT_TRUE(fs::is_empty("out.cpp"));
        } else if (pathExists("out.cpp")) {
            EXPECT_EQ(readFile("out.cpp"), c.committed ? "ab\r\ncd\r\n" : "old");
        }
    }
}

int g_creates;  // calls of the create step in the current case

// A step of the platform that fails makes commit fail: the user is told the
// file was not written, the old file stays byte for byte, and no temporary
// file stays beside it. A taken name is only a reason to try another.
TEST(ReplacementFile, AFailingStepCostsNoFile) {
    using Spoil = void (*)(FileSteps&);
    const struct {
        const char* what;
        Spoil spoil;
        bool madeTemporary, committed;
    } cases[] = {
        {"create fails",
         [](FileSteps& s) {
             s.createExclusive = [](const std::string&, int& file) { return file = -1, CreateResult::Failed; };
         },
         false, false},
        {"every name taken",
         [](FileSteps& s) {
             s.createExclusive = [](const std::string&, int& file) { return file = -1, CreateResult::NameTaken; };
         },
         false, false},
        {"first name taken",
         [](FileSteps& s) {
             s.createExclusive = [](const std::string& path, int& file) {
                 return ++g_creates == 1 ? (file = -1, CreateResult::NameTaken)
                                         : platformFileSteps().createExclusive(path, file);
             };
         },
         true, true},
        {"sync fails", [](FileSteps& s) { s.sync = [](int) { return false; }; }, true, false},
        {"close fails",
         [](FileSteps& s) { s.close = [](int file) { return platformFileSteps().close(file), false; }; }, true,
         false},
        {"replace fails", [](FileSteps& s) { s.replace = [](const std::string&, const std::string&) { return false; }; },
         true, false},
    };
    for (const auto& c : cases) {
        for (const bool old : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (old ? ", old file" : ", no old file"));
            ScratchDir dir;
            if (old) writeFile("out.cpp", "old");
            const auto before = entries();
            FileSteps steps = platformFileSteps();
            c.spoil(steps);
            g_creates = 0;
            ReplacementFile file("out.cpp", steps);
            if (auto writer = file.openWriter()) {
                writer->writeText("new\n");
                EXPECT_EQ(writer->close(), 0);
            }
            EXPECT_EQ(entries().size(), before.size() + c.madeTemporary);
            RecordingDialogs ui;
            EXPECT_EQ(commitAndReport(file, ui), c.committed);
            // Looked at while the file object lives: commit itself cleans up.
            if (c.committed) {
                EXPECT_TRUE(ui.calls.empty());
                EXPECT_EQ(entries(), std::vector<std::string>{"out.cpp"});
                EXPECT_EQ(readFile("out.cpp"), "new\r\n");
                continue;
            }
            ASSERT_EQ(ui.calls.size(), 1u);
            EXPECT_EQ(ui.calls[0], (RecordingDialogs::Call{"message", cp932("ファイルの書き込みに失敗しました。"), ""}));
            EXPECT_EQ(entries(), before) << "a temporary file was left, or the old one lost";
            if (old) {
                EXPECT_EQ(readFile("out.cpp"), "old");
            }
        }
    }
}

}  // namespace
