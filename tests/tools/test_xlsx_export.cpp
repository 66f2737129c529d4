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

namespace fs = std::filesystem;
using namespace quarix;
using namespace quarix::tools;
using quarix::session::continuationSheetName;
using quarix::session::ExportChoice;
using quarix::session::ExportRows;
using quarix::session::isValidSheetName;

namespace {

const QString kXlsxType =
    QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");

class XlsxExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = test::scratchDir("xlsx-export");
        qputenv("TMPDIR", QByteArray(scratch_.c_str()));
        for (const char* name : {"shop.mdb", "shop.accdb"})
            fs::copy_file(test::dataFile(name), scratch_ / name);
        Launcher::setTestMode(true);
        Launcher::setTestDefaultApplications(
            {{kXlsxType, QStringLiteral("libreoffice-calc.desktop")}});
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

    fs::path scratch_;
};

QString cellValue(const test::ReadSheet& sheet, const QString& ref) {
    const auto found = sheet.cells.find(ref);
    return found == sheet.cells.end() ? QString() : found->second.value;
}

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
    ASSERT_EQ(book.sheetNames, QStringList{QStringLiteral("Customers")});
    const test::ReadSheet& sheet = book.sheets[0];
    EXPECT_EQ(sheet.rows, 4);
    EXPECT_EQ(sheet.columns, 11);
    EXPECT_EQ(sheet.dimension, QStringLiteral("A1:K4"));
    EXPECT_EQ(sheet.autoFilter, QStringLiteral("A1:K4"));
    EXPECT_TRUE(sheet.headerFrozen);
    EXPECT_EQ(sheet.widthsSet, 11);
    EXPECT_EQ(cellValue(sheet, QStringLiteral("A1")), QStringLiteral("CustomerID"));
    EXPECT_NE(sheet.cells.at(QStringLiteral("A1")).style, 0); // the styled header
    // Numbers as numbers, text exactly (leading zeros kept), Null empty.
    EXPECT_EQ(sheet.cells.at(QStringLiteral("A2")).type, QString());
    EXPECT_EQ(cellValue(sheet, QStringLiteral("A2")), QStringLiteral("1"));
    EXPECT_EQ(cellValue(sheet, QStringLiteral("B2")), QStringLiteral("Anna Smith"));
    EXPECT_EQ(sheet.cells.at(QStringLiteral("J2")).type, QStringLiteral("inlineStr"));
    EXPECT_EQ(cellValue(sheet, QStringLiteral("J2")), QStringLiteral("00007"));
    EXPECT_EQ(sheet.cells.count(QStringLiteral("K2")), 0u);
}

TEST_F(XlsxExportTest, NothingHappensBeforeTheFirstSearch) {
    EXPECT_EQ(exportSearch("shop.mdb", "Customers", "Name", "", false).kind,
              ExportOutcome::Kind::Nothing);
    EXPECT_TRUE(QDir(QDir::tempPath()).entryList({QStringLiteral("*.xlsx")}).isEmpty());
    EXPECT_TRUE(platform::Shell::opened().isEmpty());
}

TEST_F(XlsxExportTest, PagedAccdbExportsEveryRecordInTheSearchOrder) {
    const test::ReadWorkbook ascending =
        exportPaged("shop.accdb", "Customers", "CustomerID", "[CustomerID] > 130");
    ASSERT_EQ(ascending.sheets.size(), 1u);
    EXPECT_EQ(ascending.sheets[0].rows, 121);
    EXPECT_EQ(ascending.sheets[0].autoFilter, QStringLiteral("A1:K121"));
    for (int row = 2; row <= 121; ++row)
        ASSERT_EQ(cellValue(ascending.sheets[0], QStringLiteral("A%1").arg(row)),
                  QString::number(129 + row));

    const test::ReadWorkbook sorted = exportPaged("shop.accdb", "Customers", "CustomerID",
                                                  "[CustomerID] > 130", "[CustomerID] DESC");
    EXPECT_EQ(cellValue(sorted.sheets[0], QStringLiteral("A2")), QStringLiteral("250"));
    EXPECT_EQ(cellValue(sorted.sheets[0], QStringLiteral("A121")), QStringLiteral("131"));
}

TEST_F(XlsxExportTest, PagedMdbExportsTheFilteredTableInItsOwnOrder) {
    const test::ReadWorkbook book =
        exportPaged("shop.mdb", "Customers", "Name", "[CustomerID] <= 10");
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(book.sheets[0].rows, 11);
    EXPECT_EQ(cellValue(book.sheets[0], QStringLiteral("A2")), QStringLiteral("1"));
    EXPECT_EQ(cellValue(book.sheets[0], QStringLiteral("A11")), QStringLiteral("10"));
}

TEST_F(XlsxExportTest, TwentyEightColumnsReachAB) {
    const test::ReadWorkbook book = exportPaged("shop.accdb", "Wide", "C01", "1 = 1");
    ASSERT_EQ(book.sheets.size(), 1u);
    EXPECT_EQ(book.sheets[0].autoFilter, QStringLiteral("A1:AB4"));
    EXPECT_EQ(cellValue(book.sheets[0], QStringLiteral("AB1")), QStringLiteral("C28"));
    EXPECT_EQ(cellValue(book.sheets[0], QStringLiteral("AB2")), QStringLiteral("r1c28"));
}

TEST_F(XlsxExportTest, TypedValuesOfEveryAccessType) {
    const test::ReadWorkbook book = exportPaged("shop.mdb", "Types", "ID", "1 = 1");
    ASSERT_EQ(book.sheets.size(), 1u);
    const test::ReadSheet& s = book.sheets[0];
    const auto type = [&](const char* ref) { return s.cells.at(QString::fromLatin1(ref)).type; };
    const auto value = [&](const char* ref) { return cellValue(s, QString::fromLatin1(ref)); };
    const auto format = [&](const char* ref) {
        const auto found = book.numberFormats.find(s.cells.at(QString::fromLatin1(ref)).style);
        return found == book.numberFormats.end() ? QString() : found->second;
    };
    // Row 2 is record 1: Byte, Integer, Long, Single, Double, Currency as numbers.
    EXPECT_EQ(value("B2"), QStringLiteral("42"));
    EXPECT_EQ(type("B2"), QString());
    EXPECT_EQ(value("F2"), QStringLiteral("3.25"));
    EXPECT_EQ(value("G2"), QStringLiteral("12.99"));
    // A date: a serial number with a date format.
    EXPECT_EQ(type("H2"), QString());
    EXPECT_NEAR(value("H2").toDouble(), 45351.5732639, 1e-6);
    EXPECT_EQ(format("H2"), QStringLiteral("yyyy-mm-dd hh:mm:ss"));
    EXPECT_EQ(type("I2"), QStringLiteral("b"));
    EXPECT_EQ(value("I2"), QStringLiteral("1"));
    EXPECT_EQ(value("J2"), QStringLiteral("plain text"));
    EXPECT_EQ(value("L2"), QStringLiteral("{6F9619FF-8B86-D011-B42D-00C04FC964FF}"));
    EXPECT_EQ(value("M2"), QStringLiteral("010203FF"));
    EXPECT_EQ(value("N2"), QStringLiteral("1234.5678"));
    // Record 2 is Null but for its ID and Yes/No: those cells are empty.
    for (const char* ref : {"B3", "C3", "D3", "F3", "H3", "J3", "K3", "L3", "M3", "N3"})
        EXPECT_EQ(s.cells.count(QString::fromLatin1(ref)), 0u) << ref;
    EXPECT_EQ(value("I3"), QStringLiteral("0"));
    // Extremes: the last day a spreadsheet knows, text with quotes and brackets.
    EXPECT_EQ(format("H4"), QStringLiteral("yyyy-mm-dd hh:mm:ss"));
    EXPECT_TRUE(
        value("J4").startsWith(QStringLiteral("日本語 ü ß € 'quoted' \"double\" [bracket]")));
    // A long memo is cut at a cell's 32,767 characters.
    EXPECT_EQ(value("K4").size(), 32767);
    // Dates before 1900 cannot be spreadsheet dates: written as their text.
    bool foundOldDate = false;
    for (const char* ref : {"H5", "H6"})
        foundOldDate = foundOldDate || value(ref).startsWith(QStringLiteral("18"));
    EXPECT_TRUE(foundOldDate);
}

// A spreadsheet holds numbers as doubles and shows 15 digits: longer Large
// Numbers are written as their text, so that no digit is lost.
TEST_F(XlsxExportTest, LargeNumbersAreNumbersUpTo15DigitsAndTextBeyond) {
    fs::copy_file(test::dataFile("bigint.accdb"), scratch_ / "bigint.accdb");
    const test::ReadWorkbook paged = exportPaged("bigint.accdb", "Types", "ID", "1 = 1");
    ASSERT_EQ(paged.sheets.size(), 1u);
    const test::ReadSheet& s = paged.sheets[0];
    EXPECT_EQ(cellValue(s, QStringLiteral("G1")), QStringLiteral("tLarge"));
    EXPECT_EQ(s.cells.at(QStringLiteral("G2")).type, QString());
    EXPECT_EQ(cellValue(s, QStringLiteral("G2")), QStringLiteral("42"));
    EXPECT_EQ(s.cells.count(QStringLiteral("G3")), 0u);
    EXPECT_EQ(s.cells.at(QStringLiteral("G4")).type, QStringLiteral("inlineStr"));
    EXPECT_EQ(cellValue(s, QStringLiteral("G4")), QStringLiteral("9223372036854775807"));
    EXPECT_EQ(cellValue(s, QStringLiteral("G5")), QStringLiteral("-9223372036854775808"));
    EXPECT_EQ(cellValue(s, QStringLiteral("G6")), QStringLiteral("9007199254740993"));

    // Shown whole, the same values.
    const ExportOutcome outcome =
        exportSearch("bigint.accdb", "Types", "ID", "[ID] In (1, 5)", false);
    ASSERT_EQ(outcome.kind, ExportOutcome::Kind::Opened);
    const test::ReadSheet whole = test::readWorkbook(outcome.path).sheets.at(0);
    EXPECT_EQ(whole.cells.at(QStringLiteral("G2")).type, QString());
    EXPECT_EQ(cellValue(whole, QStringLiteral("G2")), QStringLiteral("42"));
    EXPECT_EQ(whole.cells.at(QStringLiteral("G3")).type, QStringLiteral("inlineStr"));
    EXPECT_EQ(cellValue(whole, QStringLiteral("G3")), QStringLiteral("9007199254740993"));
}

TEST_F(XlsxExportTest, SheetNamesFollowTheSpreadsheetRules) {
    EXPECT_TRUE(isValidSheetName(QStringLiteral("Order Details")));
    EXPECT_TRUE(isValidSheetName(QString(31, QLatin1Char('x'))));
    EXPECT_FALSE(isValidSheetName(QString(32, QLatin1Char('x'))));
    EXPECT_FALSE(isValidSheetName(QString()));
    EXPECT_FALSE(isValidSheetName(QStringLiteral("a/b")));
    EXPECT_FALSE(isValidSheetName(QStringLiteral("[x]")));
    EXPECT_FALSE(isValidSheetName(QStringLiteral("'quoted'")));
    EXPECT_FALSE(isValidSheetName(QStringLiteral("history")));
    EXPECT_EQ(continuationSheetName(QStringLiteral("Customers"), 2),
              QStringLiteral("Customers (2)"));
    EXPECT_EQ(continuationSheetName(QString(31, QLatin1Char('x')), 3).size(), 31);
    EXPECT_EQ(continuationSheetName(QString(40, QLatin1Char('x')), 2), QString());

    FixedRows rows({QStringLiteral("A")}, 2);
    const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("long.xlsx"));
    const quarix::session::WorkbookResult result = quarix::session::writeWorkbook(
        rows, {path, QStringLiteral("A query whose name is longer than a sheet allows")});
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(test::readWorkbook(path).sheetNames, QStringList{QStringLiteral("Sheet1")});
}

TEST_F(XlsxExportTest, RowsBeyondOneSheetContinueOnTheNext) {
    FixedRows rows({QStringLiteral("N"), QStringLiteral("M")}, 250);
    const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("split.xlsx"));
    long lastDone = 0;
    const quarix::session::WorkbookResult result = quarix::session::writeWorkbook(
        rows, {path, QStringLiteral("Customers"), 100}, [&](long done, long) { lastDone = done; });
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.rowsWritten, 250);
    EXPECT_EQ(lastDone, 250);
    const test::ReadWorkbook book = test::readWorkbook(path);
    EXPECT_EQ(book.sheetNames,
              (QStringList{QStringLiteral("Customers"), QStringLiteral("Customers (2)"),
                           QStringLiteral("Customers (3)")}));
    EXPECT_EQ(book.sheets[1].autoFilter, QStringLiteral("A1:B101"));
    EXPECT_EQ(cellValue(book.sheets[1], QStringLiteral("A1")), QStringLiteral("N"));
    EXPECT_EQ(cellValue(book.sheets[1], QStringLiteral("A2")), QStringLiteral("101"));
    EXPECT_EQ(book.sheets[2].rows, 51);
}

TEST_F(XlsxExportTest, CancelLeavesNoFile) {
    FixedRows rows({QStringLiteral("N")}, 5000);
    const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("cancelled.xlsx"));
    std::atomic<bool> cancel{true};
    const quarix::session::WorkbookResult result =
        quarix::session::writeWorkbook(rows, {path, QStringLiteral("N")}, {}, &cancel);
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(QFile::exists(path));
}

TEST(ExportFile, TheSaveAsDialogProposesTheTablesNameInTheDocumentsFolder) {
    const QString folder = defaultExportFolder();
    EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    EXPECT_EQ(suggestedWorkbookPath(QStringLiteral("Order Details"),
                                    QStringLiteral("/home/ann/Documents")),
              QStringLiteral("/home/ann/Documents/Order_Details.xlsx"));
    EXPECT_EQ(suggestedWorkbookPath(QStringLiteral("a/b\\c"), QStringLiteral("/d")),
              QStringLiteral("/d/a_b_c.xlsx"));
    EXPECT_EQ(suggestedWorkbookPath(QString(), QStringLiteral("/d")),
              QStringLiteral("/d/Results.xlsx"));
}

TEST_F(XlsxExportTest, WithoutASpreadsheetApplicationTheMessageSaysWhereTheFileIs) {
    Launcher::setTestDefaultApplications({});
    const ExportOutcome outcome =
        exportSearch("shop.accdb", "Customers", "Name", "[CustomerID] = 7", true);
    EXPECT_EQ(outcome.kind, ExportOutcome::Kind::WrittenOnly);
    EXPECT_TRUE(QFile::exists(outcome.path));
    EXPECT_TRUE(outcome.message.endsWith(outcome.path));
    EXPECT_TRUE(platform::Shell::opened().isEmpty());
}

TEST_F(XlsxExportTest, AMalformedCriterionIsReportedAndWritesNothing) {
    const ExportOutcome outcome =
        exportSearch("shop.accdb", "Customers", "Name", "[Nope] ==== 'x", true);
    EXPECT_EQ(outcome.kind, ExportOutcome::Kind::Failed);
    EXPECT_FALSE(outcome.message.isEmpty());
    EXPECT_FALSE(QFile::exists(outcome.path));
}
