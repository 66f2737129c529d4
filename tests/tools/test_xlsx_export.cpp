// The spreadsheet export: every workbook is written for real and read back.
#include "tests/support/TestData.h"
#include "tests/tools/WorkbookReader.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "session/SheetName.h"
#include "tools/ExcelExport.h"
#include "tools/Launcher.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace fs = std::filesystem;
using namespace quarix;
using namespace quarix::tools;
using quarix::session::continuationSheetName;
using quarix::session::ExportChoice;
using quarix::session::ExportRows;
using quarix::session::isValidSheetName;

namespace {

const QString kXlsxType = u"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"_s;

class XlsxExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = test::scratchDir("xlsx-export");
        qputenv("TMPDIR", QByteArray(scratch_.c_str()));
        for (const char* name : {"shop.mdb", "shop.accdb"})
            fs::copy_file(test::dataFile(name), scratch_ / name);
        Launcher::setTestMode(true);
        Launcher::setTestDefaultApplications({{kXlsxType, u"libreoffice-calc.desktop"_s}});
        platform::Shell::setTestMode(true);
    }
    void TearDown() override {
        Launcher::setTestMode(false);
        platform::Shell::setTestMode(false);
        qunsetenv("TMPDIR");
        fs::remove_all(scratch_);
    }
    QString db(const char* name) const {
        return QString::fromStdString((scratch_ / name).string());
    }
    QString book() const { return db("Results.xlsx"); }

    // The export of a search, shown whole or paged.
    ExportOutcome exportSearch(const char* file, const char* table, const char* field,
                               const char* where, bool paged, const char* sort = "") {
        return FlexGrid_To_Excel(ExportChoice{db(file), QString::fromUtf8(table),
                                              QString::fromUtf8(field), QString::fromUtf8(where),
                                              QString::fromUtf8(sort), paged},
                                 book());
    }

    // A paged export of a whole search, read back.
    test::ReadWorkbook exportPaged(const char* file, const char* table, const char* field,
                                   const char* where, const char* sort = "") {
        const ExportOutcome outcome = exportSearch(file, table, field, where, true, sort);
        EXPECT_EQ(outcome.kind, ExportOutcome::Kind::Opened) << outcome.message.toStdString();
        return test::readWorkbook(outcome.path);
    }

    // The one sheet of a paged export.
    test::ReadSheet pagedSheet(const char* file, const char* table, const char* field,
                               const char* where, const char* sort = "") {
        const test::ReadWorkbook book = exportPaged(file, table, field, where, sort);
        EXPECT_EQ(book.sheets.size(), 1u);
        return book.sheets.empty() ? test::ReadSheet() : book.sheets[0];
    }

    fs::path scratch_;
};

// Rows of fixed values, for the writer alone.
class FixedRows : public ExportRows {
public:
    FixedRows(QStringList headers, long rows) : headers_(std::move(headers)), rows_(rows) {}
    QStringList headers() const override { return headers_; }
    long rowCount() const override { return rows_; }
    bool next(std::vector<QVariant>& values) override {
        if (done_ == rows_)
            return false;
        ++done_;
        values.assign(static_cast<std::size_t>(headers_.size()),
                      QVariant(static_cast<qlonglong>(done_)));
        return true;
    }

private:
    QStringList headers_;
    long rows_;
    long done_ = 0;
};

} // namespace

TEST_F(XlsxExportTest, ResultsShownWholeBecomeATypedBlockNamedAfterTheTable) {
    const ExportOutcome outcome =
        exportSearch("shop.mdb", "Customers", "Name", "[CustomerID] <= 3", false);
    ASSERT_EQ(outcome.kind, ExportOutcome::Kind::Opened);
    EXPECT_EQ(platform::Shell::opened(), QStringList{outcome.path});
    EXPECT_EQ(outcome.path, book());

    const test::ReadWorkbook book = test::readWorkbook(outcome.path);
    ASSERT_EQ(book.sheetNames, QStringList{u"Customers"_s});
    const test::ReadSheet& sheet = book.sheets[0];
    EXPECT_EQ(sheet.rows, 4);
    EXPECT_EQ(sheet.columns, 11);
    EXPECT_EQ(sheet.dimension, u"A1:K4"_s);
    EXPECT_EQ(sheet.autoFilter, u"A1:K4"_s);
    EXPECT_TRUE(sheet.headerFrozen);
    EXPECT_EQ(sheet.widthsSet, 11);
    EXPECT_EQ(sheet.value(u"A1"_s), u"CustomerID"_s);
    EXPECT_NE(sheet.cells.at(u"A1"_s).style, 0); // the styled header
    // Numbers as numbers, text exactly (leading zeros kept), Null empty.
    EXPECT_EQ(sheet.type(u"A2"_s), QString());
    EXPECT_EQ(sheet.value(u"A2"_s), u"1"_s);
    EXPECT_EQ(sheet.value(u"B2"_s), u"Anna Smith"_s);
    EXPECT_EQ(sheet.type(u"J2"_s), u"inlineStr"_s);
    EXPECT_EQ(sheet.value(u"J2"_s), u"00007"_s);
    EXPECT_FALSE(sheet.has(u"K2"_s));
}

// A paged search is exported whole, read again in its order.
TEST_F(XlsxExportTest, PagedSearchesExportEveryRecordInTheSearchOrder) {
    const test::ReadSheet ascending =
        pagedSheet("shop.accdb", "Customers", "CustomerID", "[CustomerID] > 130");
    EXPECT_EQ(ascending.rows, 121);
    EXPECT_EQ(ascending.autoFilter, u"A1:K121"_s);
    for (int row = 2; row <= 121; ++row)
        ASSERT_EQ(ascending.value(u"A%1"_s.arg(row)), QString::number(129 + row));

    const test::ReadSheet sorted = pagedSheet("shop.accdb", "Customers", "CustomerID",
                                              "[CustomerID] > 130", "[CustomerID] DESC");
    EXPECT_EQ(sorted.value(u"A2"_s), u"250"_s);
    EXPECT_EQ(sorted.value(u"A121"_s), u"131"_s);

    // An .mdb file's table in its own order.
    const test::ReadSheet mdb = pagedSheet("shop.mdb", "Customers", "Name", "[CustomerID] <= 10");
    EXPECT_EQ(mdb.rows, 11);
    EXPECT_EQ(mdb.value(u"A2"_s), u"1"_s);
    EXPECT_EQ(mdb.value(u"A11"_s), u"10"_s);

    // Twenty-eight columns reach AB.
    const test::ReadSheet wide = pagedSheet("shop.accdb", "Wide", "C01", "1 = 1");
    EXPECT_EQ(wide.autoFilter, u"A1:AB4"_s);
    EXPECT_EQ(wide.value(u"AB1"_s), u"C28"_s);
    EXPECT_EQ(wide.value(u"AB2"_s), u"r1c28"_s);
}

TEST_F(XlsxExportTest, TypedValuesOfEveryAccessType) {
    const test::ReadWorkbook book = exportPaged("shop.mdb", "Types", "ID", "1 = 1");
    ASSERT_EQ(book.sheets.size(), 1u);
    const test::ReadSheet& s = book.sheets[0];
    const auto format = [&](const QString& ref) {
        const auto found = book.numberFormats.find(s.cells.at(ref).style);
        return found == book.numberFormats.end() ? QString() : found->second;
    };
    // Row 2 is record 1: Byte, Integer, Long, Single, Double, Currency as numbers.
    EXPECT_EQ(s.value(u"B2"_s), u"42"_s);
    EXPECT_EQ(s.type(u"B2"_s), QString());
    EXPECT_EQ(s.value(u"F2"_s), u"3.25"_s);
    EXPECT_EQ(s.value(u"G2"_s), u"12.99"_s);
    // A date: a serial number with a date format.
    EXPECT_EQ(s.type(u"H2"_s), QString());
    EXPECT_NEAR(s.value(u"H2"_s).toDouble(), 45351.5732639, 1e-6);
    EXPECT_EQ(format(u"H2"_s), u"yyyy-mm-dd hh:mm:ss"_s);
    EXPECT_EQ(s.type(u"I2"_s), u"b"_s);
    EXPECT_EQ(s.value(u"I2"_s), u"1"_s);
    EXPECT_EQ(s.value(u"J2"_s), u"plain text"_s);
    EXPECT_EQ(s.value(u"L2"_s), u"{6F9619FF-8B86-D011-B42D-00C04FC964FF}"_s);
    EXPECT_EQ(s.value(u"M2"_s), u"010203FF"_s);
    EXPECT_EQ(s.value(u"N2"_s), u"1234.5678"_s);
    // Record 2 is Null but for its ID and Yes/No: those cells are empty.
    for (const char* ref : {"B3", "C3", "D3", "F3", "H3", "J3", "K3", "L3", "M3", "N3"})
        EXPECT_FALSE(s.has(QString::fromLatin1(ref))) << ref;
    EXPECT_EQ(s.value(u"I3"_s), u"0"_s);
    // Extremes: the last day a spreadsheet knows, text with quotes and brackets.
    EXPECT_EQ(format(u"H4"_s), u"yyyy-mm-dd hh:mm:ss"_s);
    EXPECT_TRUE(s.value(u"J4"_s).startsWith(u"日本語 ü ß € 'quoted' \"double\" [bracket]"_s));
    // A long memo is cut at a cell's 32,767 characters.
    EXPECT_EQ(s.value(u"K4"_s).size(), 32767);
    // Dates before 1900 cannot be spreadsheet dates: written as their text.
    EXPECT_TRUE(s.value(u"H5"_s).startsWith(u"18"_s) || s.value(u"H6"_s).startsWith(u"18"_s));
}

// A spreadsheet holds numbers as doubles and shows 15 digits: longer Large
// Numbers are written as their text, so that no digit is lost.
TEST_F(XlsxExportTest, LargeNumbersAreNumbersUpTo15DigitsAndTextBeyond) {
    fs::copy_file(test::dataFile("bigint.accdb"), scratch_ / "bigint.accdb");
    const test::ReadSheet s = pagedSheet("bigint.accdb", "Types", "ID", "1 = 1");
    EXPECT_EQ(s.value(u"G1"_s), u"tLarge"_s);
    EXPECT_EQ(s.type(u"G2"_s), QString());
    EXPECT_EQ(s.value(u"G2"_s), u"42"_s);
    EXPECT_FALSE(s.has(u"G3"_s));
    EXPECT_EQ(s.type(u"G4"_s), u"inlineStr"_s);
    EXPECT_EQ(s.value(u"G4"_s), u"9223372036854775807"_s);
    EXPECT_EQ(s.value(u"G5"_s), u"-9223372036854775808"_s);
    EXPECT_EQ(s.value(u"G6"_s), u"9007199254740993"_s);

    // Shown whole, the same values.
    const ExportOutcome outcome =
        exportSearch("bigint.accdb", "Types", "ID", "[ID] In (1, 5)", false);
    ASSERT_EQ(outcome.kind, ExportOutcome::Kind::Opened);
    const test::ReadSheet whole = test::readWorkbook(outcome.path).sheets.at(0);
    EXPECT_EQ(whole.type(u"G2"_s), QString());
    EXPECT_EQ(whole.value(u"G2"_s), u"42"_s);
    EXPECT_EQ(whole.type(u"G3"_s), u"inlineStr"_s);
    EXPECT_EQ(whole.value(u"G3"_s), u"9007199254740993"_s);
}

TEST_F(XlsxExportTest, SheetNamesFollowTheSpreadsheetRules) {
    EXPECT_TRUE(isValidSheetName(u"Order Details"_s));
    EXPECT_TRUE(isValidSheetName(QString(31, QLatin1Char('x'))));
    for (const QString& name : {QString(32, QLatin1Char('x')), QString(), u"a/b"_s, u"[x]"_s,
                                u"'quoted'"_s, u"history"_s})
        EXPECT_FALSE(isValidSheetName(name)) << name.toStdString();
    EXPECT_EQ(continuationSheetName(u"Customers"_s, 2), u"Customers (2)"_s);
    EXPECT_EQ(continuationSheetName(QString(31, QLatin1Char('x')), 3).size(), 31);
    EXPECT_EQ(continuationSheetName(QString(40, QLatin1Char('x')), 2), QString());

    FixedRows rows({u"A"_s}, 2);
    const QString path = db("long.xlsx");
    ASSERT_TRUE(quarix::session::writeWorkbook(
                    rows, {path, u"A query whose name is longer than a sheet allows"_s})
                    .ok);
    EXPECT_EQ(test::readWorkbook(path).sheetNames, QStringList{u"Sheet1"_s});
}

TEST_F(XlsxExportTest, RowsBeyondOneSheetContinueOnTheNext) {
    FixedRows rows({u"N"_s, u"M"_s}, 250);
    const QString path = db("split.xlsx");
    long lastDone = 0;
    const quarix::session::WorkbookResult result = quarix::session::writeWorkbook(
        rows, {path, u"Customers"_s, 100}, [&](long done, long) { lastDone = done; });
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.rowsWritten, 250);
    EXPECT_EQ(lastDone, 250);
    const test::ReadWorkbook book = test::readWorkbook(path);
    EXPECT_EQ(book.sheetNames,
              (QStringList{u"Customers"_s, u"Customers (2)"_s, u"Customers (3)"_s}));
    EXPECT_EQ(book.sheets[1].autoFilter, u"A1:B101"_s);
    EXPECT_EQ(book.sheets[1].value(u"A1"_s), u"N"_s);
    EXPECT_EQ(book.sheets[1].value(u"A2"_s), u"101"_s);
    EXPECT_EQ(book.sheets[2].rows, 51);
}

TEST_F(XlsxExportTest, CancelLeavesNoFile) {
    FixedRows rows({u"N"_s}, 5000);
    const QString path = db("cancelled.xlsx");
    std::atomic<bool> cancel{true};
    EXPECT_TRUE(quarix::session::writeWorkbook(rows, {path, u"N"_s}, {}, &cancel).cancelled);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ExportFile, TheSaveAsDialogProposesTheTablesNameInTheDocumentsFolder) {
    const QString folder = defaultExportFolder();
    EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    EXPECT_EQ(suggestedWorkbookPath(u"Order Details"_s, u"/home/ann/Documents"_s),
              u"/home/ann/Documents/Order_Details.xlsx"_s);
    EXPECT_EQ(suggestedWorkbookPath(u"a/b\\c"_s, u"/d"_s), u"/d/a_b_c.xlsx"_s);
    EXPECT_EQ(suggestedWorkbookPath(QString(), u"/d"_s), u"/d/Results.xlsx"_s);
}

// Nothing to export, no spreadsheet application, a criterion the engine
// refuses: no program is started, and the user learns why.
TEST_F(XlsxExportTest, ExportsThatOpenNothingSaySo) {
    EXPECT_EQ(exportSearch("shop.mdb", "Customers", "Name", "", false).kind,
              ExportOutcome::Kind::Nothing);
    EXPECT_TRUE(QDir(QDir::tempPath()).entryList({u"*.xlsx"_s}).isEmpty());

    const ExportOutcome failed =
        exportSearch("shop.accdb", "Customers", "Name", "[Nope] ==== 'x", true);
    EXPECT_EQ(failed.kind, ExportOutcome::Kind::Failed);
    EXPECT_FALSE(failed.message.isEmpty());
    EXPECT_FALSE(QFile::exists(failed.path));

    Launcher::setTestDefaultApplications({});
    const ExportOutcome written =
        exportSearch("shop.accdb", "Customers", "Name", "[CustomerID] = 7", true);
    EXPECT_EQ(written.kind, ExportOutcome::Kind::WrittenOnly);
    EXPECT_TRUE(QFile::exists(written.path));
    EXPECT_TRUE(written.message.endsWith(written.path));
    EXPECT_TRUE(platform::Shell::opened().isEmpty());
}
