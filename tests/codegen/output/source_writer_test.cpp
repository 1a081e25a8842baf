#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "codegen/output/source_writer.h"
#include "test_support.h"

namespace {

TEST(SourceWriter, WritesBytesWithCrLf) {
    ScratchDir dir;
    struct Case {
        const char* name;
        void (*write)(SourceWriter&);
        std::string bytes;
    };
    const Case cases[] = {
        {"text", [](SourceWriter& w) { EXPECT_EQ(w.writeText("a\nb\n"), 0); }, "a\r\nb\r\n"},
        {"lone LFs", [](SourceWriter& w) { w.writeText("\n\n"); }, "\r\n\r\n"},
        {"no LF", [](SourceWriter& w) { w.writeText("ab"); }, "ab"},
        {"template", [](SourceWriter& w) { EXPECT_EQ(w.writeTemplateLine("x%y\n"), 4); }, "x%y\r\n"},
        {"indent 3", [](SourceWriter& w) { w.writeIndented(3, "x;\n"); }, "\t\t\tx;\r\n"},
        {"indent 0", [](SourceWriter& w) { w.writeIndented(0, "x;\n"); }, "x;\r\n"},
        {"indent -1", [](SourceWriter& w) { w.writeIndented(-1, "x;\n"); }, "x;\r\n"},
        // A trail byte 0x5C (in "構") and other high bytes pass unchanged.
        {"cp932", [](SourceWriter& w) { w.writeTemplateLine("//\x95\xa1\x91\x66\x90\x94\x8d\x5c\x91\xa2\x91\xcc\n"); },
         "//\x95\xa1\x91\x66\x90\x94\x8d\x5c\x91\xa2\x91\xcc\r\n"},
    };
    for (const auto& c : cases) {
        auto w = SourceWriter::open(c.name, "w");
        ASSERT_TRUE(w);
        c.write(*w);
        EXPECT_EQ(w->close(), 0);
        EXPECT_FALSE(w->failed());
        EXPECT_EQ(readFile(c.name), c.bytes) << c.name;
    }
}

TEST(SourceWriter, OpenModes) {
    ScratchDir dir;
    writeFile("full", "old content");
    {
        auto w = SourceWriter::open("full", "w");
        ASSERT_TRUE(w);
        EXPECT_EQ(readFile("full"), "");  // emptied at open, before any write
    }
    auto a = SourceWriter::open("missing-a", "a");
    ASSERT_TRUE(a);
    a->close();
    EXPECT_TRUE(pathExists("missing-a"));
    EXPECT_EQ(readFile("missing-a"), "");

    EXPECT_FALSE(SourceWriter::open("missing-r", "r+"));
    EXPECT_FALSE(pathExists("missing-r"));

    writeFile("appended", "x\r\n");
    auto b = SourceWriter::open("appended", "a");
    b->writeText("y\n");
    b->close();
    EXPECT_EQ(readFile("appended"), "x\r\ny\r\n");

    std::filesystem::create_directory("dir");
    for (const char* mode : {"w", "a", "r+"}) EXPECT_FALSE(SourceWriter::open("dir", mode)) << mode;
    EXPECT_FALSE(SourceWriter::open("full/inside", "w"));  // a path through a regular file
}

// Text kept for another pass keeps its LF: the CR LF comes once, when the
// text reaches a file.
TEST(SourceWriter, IntoTextKeepsLfUntilClosed) {
    std::string text = "a";
    auto w = SourceWriter::intoText(text);
    EXPECT_EQ(w->writeText("b\n"), 0);
    w->writeIndented(1, "c;\n");
    EXPECT_EQ(w->close(), 0);
    EXPECT_EQ(w->writeText("late\n"), -1);
    EXPECT_FALSE(w->failed());
    EXPECT_EQ(text, "ab\n\tc;\n");
}

TEST(SourceWriter, FailedWriteIsRemembered) {
    ScratchDir dir;
    std::filesystem::create_symlink("/dev/full", "sink");
    auto w = SourceWriter::open("sink", "w");
    ASSERT_TRUE(w);
    w->writeText("some text\n");  // buffered: the failure shows at the flush
    EXPECT_EQ(w->close(), -1);
    EXPECT_TRUE(w->failed());
}

}  // namespace
