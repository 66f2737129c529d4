#include "engine/AccessDatabase.h"
#include "tests/support/AccessPages.h"
#include "tests/support/LongParameterCopy.h"
#include "tests/support/TestData.h"

#include <QFile>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs quarix-cli with the input given on its standard input (none: closed).
CliRun cli(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(QUARIX_CLI), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

QString data(const char* name) {
    return QString::fromStdString(quarix::test::dataFile(name));
}

QStringList lines(const QString& text) {
    QStringList l = text.split(QStringLiteral("\r\n"));
    if (!l.isEmpty() && l.back().isEmpty())
        l.removeLast();
    return l;
}

TEST(QuarixCli, ListsAsTheWindowDoes) {
    CliRun tables = cli({QStringLiteral("tables"), data("shop.mdb"), QStringLiteral("--format"),
                         QStringLiteral("csv")});
    EXPECT_EQ(tables.exitCode, 0);
    EXPECT_EQ(
        lines(tables.out).join(QLatin1Char('|')),
        QStringLiteral("Name|Customers|Orders|Order Details|Empty Table|Wide|msysnotes|Types"));
    CliRun all = cli({QStringLiteral("tables"), data("shop.mdb"), QStringLiteral("--all")});
    EXPECT_TRUE(all.out.contains(QStringLiteral("MSysObjects")));

    CliRun queries = cli({QStringLiteral("queries"), data("shop.accdb")});
    EXPECT_TRUE(queries.out.contains(
        QStringLiteral("Age Everyone,Update,UPDATE Customers SET Customers.Age = [Age]+1;")));
    EXPECT_FALSE(queries.out.contains(QStringLiteral("~sq_")));

    CliRun fields =
        cli({QStringLiteral("fields"), data("shop.accdb"), QStringLiteral("Empty Table")});
    EXPECT_EQ(fields.exitCode, 0);
    EXPECT_GT(lines(fields.out).size(), 1);

    CliRun values = cli({QStringLiteral("values"), data("shop.mdb"), QStringLiteral("Customers"),
                         QStringLiteral("City"), QStringLiteral("--max"), QStringLiteral("3"),
                         QStringLiteral("--format"), QStringLiteral("jsonl")});
    EXPECT_EQ(
        values.out,
        QStringLiteral("{\"City\":\"Bergen\"}\n{\"City\":\"Berlin\"}\n{\"City\":\"London\"}\n"));
}

TEST(QuarixCli, SearchFormatsAndPages) {
    CliRun count = cli({QStringLiteral("search"), data("shop.accdb"), QStringLiteral("Customers"),
                        QStringLiteral("City"), QStringLiteral("Contains"), QStringLiteral("lon"),
                        QStringLiteral("--count")});
    EXPECT_EQ(count.out, QStringLiteral("43\n"));

    CliRun page = cli({QStringLiteral("search"), data("shop.accdb"), QStringLiteral("Customers"),
                       QStringLiteral("City"), QStringLiteral("eq"), QStringLiteral("london"),
                       QStringLiteral("--page"), QStringLiteral("3"), QStringLiteral("--page-size"),
                       QStringLiteral("10"), QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_EQ(lines(page.out).size(), 1 + 2) << "22 London rows: page 3 of 10 holds 2";

    CliRun json = cli({QStringLiteral("search"), data("shop.mdb"), QStringLiteral("Customers"),
                       QStringLiteral("--where"), QStringLiteral("[CustomerID] = 1"),
                       QStringLiteral("--format"), QStringLiteral("json")});
    EXPECT_TRUE(json.out.contains(QStringLiteral("\"CustomerID\":1,\"Name\":\"Anna Smith\"")));
    EXPECT_TRUE(json.out.contains(QStringLiteral("\"Active\":true")));
    EXPECT_TRUE(json.out.contains(QStringLiteral("\"Notes\":null")));

    CliRun stacked =
        cli({QStringLiteral("search"), data("shop.mdb"), QStringLiteral("Customers"),
             QStringLiteral("City"), QStringLiteral("Begins"), QStringLiteral("Lon"),
             QStringLiteral("--and"), QStringLiteral("[Age] > 60"), QStringLiteral("--count")});
    CliRun typed =
        cli({QStringLiteral("search"), data("shop.mdb"), QStringLiteral("Customers"),
             QStringLiteral("--where"), QStringLiteral("[City] Like 'Lon*' AND [Age] > 60"),
             QStringLiteral("--count")});
    EXPECT_EQ(stacked.out, typed.out);
}

TEST(QuarixCli, ExitCodesAndErrors) {
    CliRun none =
        cli({QStringLiteral("search"), data("shop.mdb"), QStringLiteral("Customers"),
             QStringLiteral("City"), QStringLiteral("Equals"), QStringLiteral("Atlantis")});
    EXPECT_EQ(none.exitCode, 1);
    CliRun usage = cli({QStringLiteral("search"), data("shop.mdb")});
    EXPECT_EQ(usage.exitCode, 2);
    EXPECT_TRUE(usage.err.contains(QStringLiteral("Usage: quarix-cli search")));
    CliRun missing = cli({QStringLiteral("tables"), QStringLiteral("/nonexistent/x.mdb")});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_EQ(
        missing.err,
        QStringLiteral("quarix-cli: error 3024: Could not find file '/nonexistent/x.mdb'.\n"));
    CliRun notNumber =
        cli({QStringLiteral("search"), data("shop.mdb"), QStringLiteral("Customers"),
             QStringLiteral("Age"), QStringLiteral("> Greater"), QStringLiteral("abc")});
    EXPECT_EQ(notNumber.exitCode, 4);
    EXPECT_EQ(notNumber.err,
              QStringLiteral("quarix-cli: The > Greater operator requires a number.\n"));
    CliRun badSql = cli({QStringLiteral("search"), data("shop.mdb"), QStringLiteral("Customers"),
                         QStringLiteral("--where"), QStringLiteral("[City] = 'x' AND")});
    EXPECT_EQ(badSql.exitCode, 4);
    EXPECT_TRUE(badSql.err.startsWith(QStringLiteral("quarix-cli: error 3075:")));
    CliRun action = cli({QStringLiteral("dump"), data("shop.mdb"), QStringLiteral("Age Everyone")});
    EXPECT_EQ(action.exitCode, 4);
    CliRun version = cli({QStringLiteral("--version")});
    EXPECT_EQ(version.out, QStringLiteral("quarix-cli 8.0.120\n"));

    // A bracket in a field name cannot end the name early.
    for (const QStringList& args :
         {QStringList{QStringLiteral("search"), data("shop.mdb"), QStringLiteral("Customers"),
                      QStringLiteral("City] Is Not Null OR [City"), QStringLiteral("Begins"),
                      QStringLiteral("x")},
          QStringList{QStringLiteral("values"), data("shop.mdb"), QStringLiteral("Customers"),
                      QStringLiteral("City] FROM [Orders")}}) {
        CliRun injected = cli(args);
        EXPECT_EQ(injected.exitCode, 4);
        EXPECT_TRUE(
            injected.err.startsWith(QStringLiteral("quarix-cli: error 3265: There is no field")))
            << injected.err.toStdString();
        EXPECT_TRUE(injected.out.isEmpty());
    }
    CliRun hugePage = cli({QStringLiteral("search"), data("shop.mdb"), QStringLiteral("Customers"),
                           QStringLiteral("City"), QStringLiteral("Begins"), QStringLiteral("L"),
                           QStringLiteral("--page"), QStringLiteral("99999999999999999999")});
    EXPECT_EQ(hugePage.exitCode, 2);
    EXPECT_TRUE(hugePage.err.contains(QStringLiteral("--page needs a whole number")));
}

TEST(QuarixCli, OutputThatCannotBeWrittenIsAnError) {
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(QStringLiteral(QUARIX_CLI),
            {QStringLiteral("dump"), data("shop.mdb"), QStringLiteral("Orders")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 5);
    EXPECT_TRUE(p.readAllStandardError().startsWith("quarix-cli: cannot write the output"));
}

TEST(QuarixCli, LockedDatabasesTakeTheirPasswordFromStandardInput) {
    const QString file = data("encrypted/db2013-enc.accdb");
    const QStringList tables{QStringLiteral("tables"), file, QStringLiteral("--password-stdin")};
    CliRun right = cli(tables, "1234\n");
    EXPECT_EQ(right.exitCode, 0) << right.err.toStdString();
    EXPECT_GT(lines(right.out).size(), 1);
    CliRun wrong = cli(tables, "4321\n");
    EXPECT_EQ(wrong.exitCode, 3);
    EXPECT_TRUE(
        wrong.err.startsWith(QStringLiteral("quarix-cli: error 3031: Not a valid password.")));
    // No terminal and no --password-stdin: nothing to ask.
    CliRun none = cli({QStringLiteral("tables"), file});
    EXPECT_EQ(none.exitCode, 3);
    EXPECT_TRUE(
        none.err.startsWith(QStringLiteral("quarix-cli: error 3031: Not a valid password.")));
}

TEST(QuarixCli, ADamagedTableFailsUnlessSalvaged) {
    const fs::path dir = quarix::test::scratchDir("cli-salvage");
    std::ifstream in(quarix::test::dataFile("shop.mdb"), std::ios::binary);
    quarix::test::AccessPages pages({std::istreambuf_iterator<char>(in), {}});
    const auto db = quarix::engine::AccessDatabase::open(quarix::test::dataFile("shop.mdb"));
    std::vector<std::size_t> dataPages;
    for (const auto& table : db->catalogue().tables)
        if (table.name == "Order Details")
            dataPages = pages.dataPagesOf(static_cast<std::uint32_t>(table.id) & 0xffffff);
    ASSERT_GE(dataPages.size(), 2u);
    const unsigned lost = pages.rowCount(dataPages[1]);
    pages.zero(dataPages[1]);
    const QString damaged = QString::fromStdString((dir / "shop.mdb").string());
    std::ofstream(damaged.toStdString(), std::ios::binary) << pages.bytes();

    const QStringList dump{QStringLiteral("dump"), damaged, QStringLiteral("Order Details"),
                           QStringLiteral("--count")};
    CliRun refused = cli(dump);
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("error 3343: The table 'Order Details'")));
    EXPECT_TRUE(refused.out.isEmpty());
    CliRun salvaged = cli(dump + QStringList{QStringLiteral("--salvage")});
    EXPECT_EQ(salvaged.exitCode, 0);
    EXPECT_EQ(salvaged.out.trimmed().toUInt(), 600 - lost);
    EXPECT_TRUE(
        salvaged.err.startsWith(QStringLiteral("quarix-cli: warning: The table 'Order Details'")));
    fs::remove_all(dir);
}

// Large Numbers come out whole in every format, and their type by its name.
TEST(QuarixCli, LargeNumbersAreShownWhole) {
    const QString file = data("bigint.accdb");
    CliRun fields = cli({QStringLiteral("fields"), file, QStringLiteral("Types"),
                         QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_TRUE(lines(fields.out).contains(QStringLiteral("tLarge,Large Number")))
        << fields.out.toStdString();
    CliRun json =
        cli({QStringLiteral("search"), file, QStringLiteral("Types"), QStringLiteral("tLarge"),
             QStringLiteral("> Greater"), QStringLiteral("9007199254740992"),
             QStringLiteral("--format"), QStringLiteral("jsonl")});
    EXPECT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QStringList rows = json.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].contains(QStringLiteral("\"tLarge\":9007199254740993,")));
    EXPECT_TRUE(rows[1].contains(QStringLiteral("\"tLarge\":9223372036854775807,")));
    CliRun csv = cli({QStringLiteral("dump"), file, QStringLiteral("Types"),
                      QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_TRUE(csv.out.contains(QStringLiteral(",1.5,3.25,42,2024-02-29 13:45:30,")));
    EXPECT_FALSE(csv.out.contains(QStringLiteral("2A00000000000000")));
}

TEST(QuarixCli, FloatingPointNumbersReadAsInTheWindow) {
    CliRun csv = cli({QStringLiteral("dump"), data("shop.accdb"), QStringLiteral("Types"),
                      QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_TRUE(csv.out.contains(QStringLiteral("\r\n3,255,-32768,2147483647,-3E+38,1E+300,")))
        << csv.out.toStdString();
    EXPECT_TRUE(csv.out.contains(QStringLiteral("\r\n5,7,7,7,7,7,7.00,")));
}

// A file cut short is a damaged file, whether it ends inside a page or on a
// page boundary: never a shorter table.
TEST(QuarixCli, ATruncatedFileIsAnErrorNotFewerRows) {
    const fs::path dir = quarix::test::scratchDir("cli-truncated");
    for (const char* fixture : {"shop.mdb", "shop.accdb"}) {
        const std::uintmax_t size = fs::file_size(quarix::test::dataFile(fixture));
        for (const std::uintmax_t cut :
             {size / 3, size / 3 / 4096 * 4096, size * 2 / 3 / 4096 * 4096}) {
            const fs::path path = dir / fixture;
            fs::copy_file(quarix::test::dataFile(fixture), path,
                          fs::copy_options::overwrite_existing);
            fs::resize_file(path, cut);
            const QString file = QString::fromStdString(path.string());
            const QString error =
                QStringLiteral(
                    "quarix-cli: error 3343: The database '%1' is damaged or incomplete: "
                    "part of it is missing from the end of the file. Quarix cannot read "
                    "it.\n")
                    .arg(file);
            CliRun count = cli({QStringLiteral("dump"), file, QStringLiteral("Orders"),
                                QStringLiteral("--count")});
            EXPECT_EQ(count.exitCode, 3) << fixture << " cut at " << cut;
            EXPECT_EQ(count.out, QString()) << fixture << " cut at " << cut;
            EXPECT_EQ(count.err, error) << fixture << " cut at " << cut;
            EXPECT_EQ(cli({QStringLiteral("tables"), file}).exitCode, 3)
                << fixture << " cut at " << cut;
        }
    }
    fs::remove_all(dir);
}

TEST(QuarixCli, WritesTheWindowsWorkbook) {
    const fs::path dir = quarix::test::scratchDir("cli-xlsx");
    const QString workbook = QString::fromStdString((dir / "london.xlsx").string());
    CliRun run = cli({QStringLiteral("search"), data("shop.accdb"), QStringLiteral("Customers"),
                      QStringLiteral("City"), QStringLiteral("Equals"), QStringLiteral("London"),
                      QStringLiteral("--xlsx"), workbook});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile file(workbook);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.read(2), QByteArray("PK")) << "an xlsx workbook is a zip archive";
    fs::remove_all(dir);
}

TEST(QuarixCli, ListsAndWritesAttachmentsWithoutReplacingFiles) {
    const fs::path dir = quarix::test::scratchDir("cli-attachments");
    const QStringList list = {
        QStringLiteral("attachments"), data("real/complexDataTestV2010.accdb"),
        QStringLiteral("Table1"),      QStringLiteral("attach-data"),
        QStringLiteral("--format"),    QStringLiteral("csv")};
    CliRun all = cli(list);
    EXPECT_EQ(all.exitCode, 0) << all.err.toStdString();
    EXPECT_EQ(lines(all.out), (QStringList{QStringLiteral("Row,FileName,Size"),
                                           QStringLiteral("2,test_data.txt,38"),
                                           QStringLiteral("2,test_data2.txt,43"),
                                           QStringLiteral("4,test_data2.txt,43")}));

    const QString out = QString::fromStdString((dir / "files").string());
    const QStringList write =
        list + QStringList{QStringLiteral("--where"), QStringLiteral("[id] = 'row2'"),
                           QStringLiteral("--output-dir"), out};
    CliRun first = cli(write);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(lines(first.out).size(), 3);
    QFile file(QString::fromStdString((dir / "files" / "2" / "test_data2.txt").string()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("this is some more test data for attachment."));

    CliRun again = cli(write);
    EXPECT_EQ(again.exitCode, 5);
    EXPECT_TRUE(again.err.contains(QStringLiteral("not replaced"))) << again.err.toStdString();
    fs::remove_all(dir);
}

TEST(QuarixCli, LinkedTablesAreListedAndAnOdbcOneSaysWhyItCannotBeRead) {
    CliRun tables = cli({QStringLiteral("tables"), data("real/linkerTestV2007.accdb"),
                         QStringLiteral("--format"), QStringLiteral("csv")});
    EXPECT_EQ(lines(tables.out), (QStringList{QStringLiteral("Name"), QStringLiteral("Table1"),
                                              QStringLiteral("Table2")}));
    CliRun dump = cli(
        {QStringLiteral("dump"), data("real/odbcLinkerTestV2007.accdb"), QStringLiteral("Ordrar")});
    EXPECT_EQ(dump.exitCode, 3);
    EXPECT_TRUE(dump.err.startsWith(QStringLiteral("quarix-cli: error 3151: ODBC--connection to "
                                                   "'DSN=Magnapinna;")))
        << dump.err.toStdString();
    EXPECT_FALSE(dump.err.contains(QStringLiteral("DummyPassword")));
}

} // namespace

TEST(QuarixCli, ParameterQueriesTakeTheirValuesFromParam) {
    const QStringList search = {QStringLiteral("search"),         data("shop.mdb"),
                                QStringLiteral("City Parameter"), QStringLiteral("--where"),
                                QStringLiteral("Age >= 40"),      QStringLiteral("--count")};
    CliRun answered =
        cli(search + QStringList{QStringLiteral("--param"), QStringLiteral("which city=London")});
    EXPECT_EQ(answered.exitCode, 0);
    EXPECT_EQ(answered.out, QStringLiteral("12\n"));

    CliRun missing = cli(search);
    EXPECT_EQ(missing.exitCode, 4);
    EXPECT_TRUE(missing.err.startsWith(
        QStringLiteral("quarix-cli: error 3061: Too few parameters. Expected 1.")));
    EXPECT_TRUE(missing.err.contains(QStringLiteral("\"Which City\"")));

    CliRun dump = cli({QStringLiteral("dump"), data("shop.accdb"), QStringLiteral("City Parameter"),
                       QStringLiteral("--count"), QStringLiteral("--param"),
                       QStringLiteral("Which City=London")});
    EXPECT_EQ(dump.out, QStringLiteral("22\n"));

    CliRun badSyntax =
        cli(search + QStringList{QStringLiteral("--param"), QStringLiteral("London")});
    EXPECT_EQ(badSyntax.exitCode, 2);
}

TEST(QuarixCli, AParameterValueItsTypeRefusesIsAUsageError) {
    const auto dir = quarix::test::scratchDir("cli-long-parameter");
    const std::string copy = (dir / "shop.mdb").string();
    quarix::test::writeLongParameterCopy(quarix::test::dataFile("shop.mdb"), copy);
    const QStringList dump = {QStringLiteral("dump"), QString::fromStdString(copy),
                              QStringLiteral("City Parameter"), QStringLiteral("--count"),
                              QStringLiteral("--param")};
    CliRun refused = cli(dump + QStringList{QStringLiteral("Which City=abc")});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("'Which City'")));
    // A Long compared with text names: Access's mismatch, an invalid query.
    CliRun accepted = cli(dump + QStringList{QStringLiteral("which city=7")});
    EXPECT_EQ(accepted.exitCode, 4);
    EXPECT_TRUE(accepted.err.contains(QStringLiteral("3464")));
    fs::remove_all(dir);
}
