#include "session/AttachmentFolder.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

namespace fs = std::filesystem;
using quarix::session::safeAttachmentName;
using quarix::session::writeAttachment;
using quarix::test::fileBytes;

namespace {

QString qt(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// A name as stored in the database, and the file name it is written under.
using StoredName = std::pair<std::string, const char*>;

class SafeName : public testing::TestWithParam<StoredName> {};

TEST_P(SafeName, StaysInsideItsFolder) {
    EXPECT_EQ(safeAttachmentName(GetParam().first), QString::fromUtf8(GetParam().second));
}

INSTANTIATE_TEST_SUITE_P(StoredNames, SafeName,
                         testing::Values(StoredName{"report.pdf", "report.pdf"},
                                         StoredName{"Müller 2024.xlsx", "Müller 2024.xlsx"},
                                         StoredName{"../../etc/passwd", "_.._.._etc_passwd"},
                                         StoredName{"/etc/passwd", "_etc_passwd"},
                                         StoredName{"..", "_.."}, StoredName{".", "_."},
                                         StoredName{".bashrc", "_.bashrc"},
                                         StoredName{"C:\\Windows\\win.ini", "C:_Windows_win.ini"},
                                         StoredName{std::string("a\0b.txt", 7), "a_b.txt"},
                                         StoredName{"line\nbreak", "line_break"},
                                         StoredName{"", "attachment"}));

TEST(SafeName, ALongNameIsShortenedKeepingItsExtension) {
    const QString name = safeAttachmentName(std::string(400, 'x') + ".docx");
    EXPECT_LE(name.toUtf8().size(), 255);
    EXPECT_TRUE(name.endsWith(QStringLiteral("x.docx")));
    EXPECT_LE(safeAttachmentName(std::string(300, 'x')).toUtf8().size(), 255);
}

TEST(WriteAttachment, WritesTheExactBytesAndNeverReplacesAFile) {
    const fs::path dir = quarix::test::scratchDir("attachment-write");
    const std::string bytes("\x00\x01binary\xff", 9);
    auto written = writeAttachment(qt(dir / "out"), QStringLiteral("2"), "../a.bin", bytes);
    EXPECT_TRUE(written.error.isEmpty()) << written.error.toStdString();
    EXPECT_EQ(written.path, qt(dir / "out" / "2" / "_.._a.bin"));
    EXPECT_EQ(fileBytes(dir / "out" / "2" / "_.._a.bin"), bytes);

    written = writeAttachment(qt(dir / "out"), QStringLiteral("2"), "../a.bin", "other");
    EXPECT_TRUE(written.error.contains(QStringLiteral("not replaced")));
    EXPECT_EQ(fileBytes(dir / "out" / "2" / "_.._a.bin"), bytes);

    written = writeAttachment(qt(dir / "private"), {}, "p.txt", "secret", true);
    ASSERT_TRUE(written.error.isEmpty());
    struct stat st {};
    ASSERT_EQ(::stat((dir / "private" / "p.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    fs::remove_all(dir);
}

// Save As after the user agreed to replace: the file, or a link of that
// name (not what it points to), gives way only to bytes written whole.
TEST(WriteAttachment, ReplacesOnlyWhenAskedAndOnlyWhatIsNamed) {
    const fs::path dir = quarix::test::scratchDir("attachment-replace");
    fs::create_directories(dir / "elsewhere");
    std::ofstream(dir / "elsewhere" / "target.txt") << "keep";
    fs::create_symlink(dir / "elsewhere" / "target.txt", dir / "link.txt");
    std::ofstream(dir / "old.txt") << "old";
    fs::create_directories(dir / "folder.txt");

    for (const char* name : {"old.txt", "link.txt"}) {
        const auto written = writeAttachment(qt(dir), {}, name, "new", false, true);
        EXPECT_TRUE(written.error.isEmpty()) << written.error.toStdString();
        EXPECT_EQ(fileBytes(dir / name), "new");
    }
    EXPECT_FALSE(fs::is_symlink(dir / "link.txt"));
    EXPECT_EQ(fileBytes(dir / "elsewhere" / "target.txt"), "keep");
    EXPECT_FALSE(writeAttachment(qt(dir), {}, "folder.txt", "new", false, true).error.isEmpty());
    EXPECT_TRUE(fs::is_directory(dir / "folder.txt"));
    // Nothing is left beside them.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4);
    fs::remove_all(dir);
}

TEST(WriteAttachment, LinksInsideTheFolderAreNotFollowed) {
    const fs::path dir = quarix::test::scratchDir("attachment-links");
    fs::create_directories(dir / "out");
    fs::create_directories(dir / "elsewhere");
    fs::create_directory_symlink(dir / "elsewhere", dir / "out" / "3");
    fs::create_directories(dir / "out" / "4");
    fs::create_symlink(dir / "elsewhere" / "target.txt", dir / "out" / "4" / "f.txt");

    EXPECT_FALSE(
        writeAttachment(qt(dir / "out"), QStringLiteral("3"), "f.txt", "x").error.isEmpty());
    EXPECT_FALSE(
        writeAttachment(qt(dir / "out"), QStringLiteral("4"), "f.txt", "x").error.isEmpty());
    EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));
    fs::remove_all(dir);
}

} // namespace
