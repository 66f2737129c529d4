#include "engine/AccessDatabase.h"
#include "tests/support/AccessPages.h"
#include "tests/support/LongParameterCopy.h"
#include "tests/support/TestData.h"

#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

#include <filesystem>

using namespace Qt::StringLiterals;

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

QString arg(const char* text) {
    return QString::fromUtf8(text);
}
QString arg(const fs::path& path) {
    return QString::fromStdString(path.string());
}
template <typename... Texts> QStringList args(const Texts&... texts) {
    return {arg(texts)...};
}

// Runs quarix-cli with the input given on its standard input (none: closed).
CliRun run(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess p;
    p.start(QStringLiteral(QUARIX_CLI), arguments);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}
template <typename... Texts> CliRun cli(const Texts&... texts) {
    return run(args(texts...));
}

fs::path data(const char* name) {
    return quarix::test::dataFile(name);
}

// The output's lines, without the end of the last.
QByteArrayList lines(QByteArray text) {
    QByteArrayList l = text.replace("\r\n", "\n").split('\n');
    if (!l.isEmpty() && l.back().isEmpty())
        l.removeLast();
    return l;
}

// What a run must end with: its exit code (-1: any), texts its output holds,
// and texts its error output holds. A text starting with '=' is the whole
// output, with '^' its start, with '!' a text it must not hold.
using Texts = std::vector<const char*>;
template <typename... T> Texts texts(T... t) {
    return {t...};
}
struct Case {
    QStringList args;
    int exitCode;
    Texts out;
    Texts err = {};
};

void expectText(const QByteArray& text, const char* expected) {
    if (*expected == '=') {
        EXPECT_EQ(text, expected + 1);
    } else if (*expected == '^') {
        EXPECT_TRUE(text.startsWith(expected + 1)) << text.toStdString();
    } else if (*expected == '!') {
        EXPECT_FALSE(text.contains(expected + 1)) << text.toStdString();
    } else {
        EXPECT_TRUE(text.contains(expected)) << text.toStdString();
    }
}

TEST(QuarixCli, CommandsAnswerAsTheWindowDoes) {
    const fs::path mdb = data("shop.mdb"), accdb = data("shop.accdb"), big = data("bigint.accdb");
    const char* noField = "^quarix-cli: error 3265: There is no field";
    const Case cases[] = {
        {args("tables", mdb, "--format", "csv"), 0,
         texts(
             "=Name\r\nCustomers\r\nOrders\r\nOrder Details\r\nEmpty Table\r\nWide\r\nmsysnotes\r\n"
             "Types\r\n")},
        {args("tables", mdb, "--all"), -1, texts("MSysObjects")},
        {args("queries", accdb), -1,
         texts("Age Everyone,Update,UPDATE Customers SET Customers.Age = [Age]+1;", "!~sq_")},
        {args("values", mdb, "Customers", "City", "--max", "3", "--format", "jsonl"), -1,
         texts("={\"City\":\"Bergen\"}\n{\"City\":\"Berlin\"}\n{\"City\":\"London\"}\n")},
        {args("search", accdb, "Customers", "City", "Contains", "lon", "--count"), -1,
         texts("=43\n")},
        {args("search", mdb, "Customers", "--where", "[CustomerID] = 1", "--format", "json"), -1,
         texts("\"CustomerID\":1,\"Name\":\"Anna Smith\"", "\"Active\":true", "\"Notes\":null")},
        {args("--version"), -1, texts("=quarix-cli 8.0.120\n")},
        // Large Numbers come out whole, and their type by its name;
        // floating-point numbers read as in the window.
        {args("fields", big, "Types", "--format", "csv"), -1, texts("\ntLarge,Large Number\r\n")},
        {args("dump", big, "Types", "--format", "csv"), -1,
         texts(",1.5,3.25,42,2024-02-29 13:45:30,", "!2A00000000000000")},
        {args("dump", accdb, "Types", "--format", "csv"), -1,
         texts("\r\n3,255,-32768,2147483647,-3E+38,1E+300,", "\r\n5,7,7,7,7,7,7.00,")},
        // Linked tables are listed; an ODBC one says why it cannot be read.
        {args("tables", data("real/linkerTestV2007.accdb"), "--format", "csv"), -1,
         texts("=Name\r\nTable1\r\nTable2\r\n")},
        {args("dump", data("real/odbcLinkerTestV2007.accdb"), "Ordrar"), 3, texts(),
         texts("^quarix-cli: error 3151: ODBC--connection to 'DSN=Magnapinna;", "!DummyPassword")},
        // Parameter queries take their values from --param.
        {args("search", mdb, "City Parameter", "--where", "Age >= 40", "--count", "--param",
              "which city=London"),
         0, texts("=12\n")},
        {args("search", mdb, "City Parameter", "--where", "Age >= 40", "--count"), 4, texts(),
         texts("^quarix-cli: error 3061: Too few parameters. Expected 1.", "\"Which City\"")},
        {args("dump", accdb, "City Parameter", "--count", "--param", "Which City=London"), -1,
         texts("=22\n")},
        {args("search", mdb, "City Parameter", "--where", "Age >= 40", "--count", "--param",
              "London"),
         2, texts()},
        // Exit codes and errors.
        {args("search", mdb, "Customers", "City", "Equals", "Atlantis"), 1, texts()},
        {args("search", mdb), 2, texts(), texts("Usage: quarix-cli search")},
        {args("tables", "/nonexistent/x.mdb"), 3, texts(),
         texts("=quarix-cli: error 3024: Could not find file '/nonexistent/x.mdb'.\n")},
        {args("search", mdb, "Customers", "Age", "> Greater", "abc"), 4, texts(),
         texts("=quarix-cli: The > Greater operator requires a number.\n")},
        {args("search", mdb, "Customers", "--where", "[City] = 'x' AND"), 4, texts(),
         texts("^quarix-cli: error 3075:")},
        {args("dump", mdb, "Age Everyone"), 4, texts()},
        // A bracket in a field name cannot end the name early.
        {args("search", mdb, "Customers", "City] Is Not Null OR [City", "Begins", "x"), 4,
         texts("="), texts(noField)},
        {args("values", mdb, "Customers", "City] FROM [Orders"), 4, texts("="), texts(noField)},
        {args("search", mdb, "Customers", "City", "Begins", "L", "--page", "99999999999999999999"),
         2, texts(), texts("--page needs a whole number")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const CliRun result = run(c.args);
        if (c.exitCode >= 0) {
            EXPECT_EQ(result.exitCode, c.exitCode);
        }
        for (const char* text : c.out)
            expectText(result.out, text);
        for (const char* text : c.err)
            expectText(result.err, text);
    }
}

TEST(QuarixCli, ListsAndPagesHoldTheirRows) {
    const fs::path mdb = data("shop.mdb"), accdb = data("shop.accdb");
    CliRun fields = cli("fields", accdb, "Empty Table");
    EXPECT_EQ(fields.exitCode, 0);
    EXPECT_GT(lines(fields.out).size(), 1);
    CliRun page = cli("search", accdb, "Customers", "City", "eq", "london", "--page", "3",
                      "--page-size", "10", "--format", "csv");
    EXPECT_EQ(lines(page.out).size(), 1 + 2) << "22 London rows: page 3 of 10 holds 2";
    CliRun json = cli("search", data("bigint.accdb"), "Types", "tLarge", "> Greater",
                      "9007199254740992", "--format", "jsonl");
    EXPECT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QByteArrayList rows = lines(json.out);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].contains("\"tLarge\":9007199254740993,"));
    EXPECT_TRUE(rows[1].contains("\"tLarge\":9223372036854775807,"));

    EXPECT_EQ(
        cli("search", mdb, "Customers", "City", "Begins", "Lon", "--and", "[Age] > 60", "--count")
            .out,
        cli("search", mdb, "Customers", "--where", "[City] Like 'Lon*' AND [Age] > 60", "--count")
            .out);
}

TEST(QuarixCli, OutputThatCannotBeWrittenIsAnError) {
    QProcess p;
    p.setStandardOutputFile(u"/dev/full"_s);
    p.start(QStringLiteral(QUARIX_CLI), args("dump", data("shop.mdb"), "Orders"));
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 5);
    EXPECT_TRUE(p.readAllStandardError().startsWith("quarix-cli: cannot write the output"));
}

TEST(QuarixCli, LockedDatabasesTakeTheirPasswordFromStandardInput) {
    const QStringList tables = args("tables", data("encrypted/db2013-enc.accdb"));
    CliRun right = run(QStringList(tables) << u"--password-stdin"_s, "1234\n");
    EXPECT_EQ(right.exitCode, 0) << right.err.toStdString();
    EXPECT_GT(lines(right.out).size(), 1);
    // A wrong password, and no terminal without --password-stdin: nothing to ask.
    for (const CliRun& refused :
         {run(QStringList(tables) << u"--password-stdin"_s, "4321\n"), run(tables)}) {
        EXPECT_EQ(refused.exitCode, 3);
        EXPECT_TRUE(refused.err.startsWith("quarix-cli: error 3031: Not a valid password."));
    }
}

TEST(QuarixCli, ADamagedTableFailsUnlessSalvaged) {
    const quarix::test::ScratchFolder dir("cli-salvage");
    quarix::test::AccessPages pages(quarix::test::fileBytes(data("shop.mdb")));
    const auto db = quarix::engine::AccessDatabase::open(data("shop.mdb").string());
    std::vector<std::size_t> dataPages;
    for (const auto& table : db->catalogue().tables)
        if (table.name == "Order Details")
            dataPages = pages.dataPagesOf(static_cast<std::uint32_t>(table.id) & 0xffffff);
    ASSERT_GE(dataPages.size(), 2u);
    const unsigned lost = pages.rowCount(dataPages[1]);
    pages.zero(dataPages[1]);
    quarix::test::writeBytes(dir / "shop.mdb", pages.bytes());

    const QStringList dump = args("dump", dir / "shop.mdb", "Order Details", "--count");
    CliRun refused = run(dump);
    EXPECT_EQ(refused.exitCode, 3);
    EXPECT_TRUE(refused.err.contains("error 3343: The table 'Order Details'"));
    EXPECT_TRUE(refused.out.isEmpty());
    CliRun salvaged = run(QStringList(dump) << u"--salvage"_s);
    EXPECT_EQ(salvaged.exitCode, 0);
    EXPECT_EQ(salvaged.out.trimmed().toUInt(), 600 - lost);
    EXPECT_TRUE(salvaged.err.startsWith("quarix-cli: warning: The table 'Order Details'"));
}

// A file cut short is a damaged file, whether it ends inside a page or on a
// page boundary: never a shorter table.
TEST(QuarixCli, ATruncatedFileIsAnErrorNotFewerRows) {
    const quarix::test::ScratchFolder dir("cli-truncated");
    for (const char* fixture : {"shop.mdb", "shop.accdb"}) {
        const std::uintmax_t size = fs::file_size(data(fixture));
        for (const std::uintmax_t cut :
             {size / 3, size / 3 / 4096 * 4096, size * 2 / 3 / 4096 * 4096}) {
            SCOPED_TRACE(std::string(fixture) + " cut at " + std::to_string(cut));
            const fs::path path = dir / fixture;
            fs::copy_file(data(fixture), path, fs::copy_options::overwrite_existing);
            fs::resize_file(path, cut);
            CliRun count = cli("dump", path, "Orders", "--count");
            EXPECT_EQ(count.exitCode, 3);
            EXPECT_EQ(count.out, QByteArray());
            EXPECT_EQ(count.err.toStdString(),
                      "quarix-cli: error 3343: The database '" + path.string() +
                          "' is damaged or incomplete: part of it is missing from the "
                          "end of the file. Quarix cannot read it.\n");
            EXPECT_EQ(cli("tables", path).exitCode, 3);
        }
    }
}

TEST(QuarixCli, WritesTheWindowsWorkbook) {
    const quarix::test::ScratchFolder dir("cli-xlsx");
    CliRun result = cli("search", data("shop.accdb"), "Customers", "City", "Equals", "London",
                        "--xlsx", dir / "london.xlsx");
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(quarix::test::fileBytes(dir / "london.xlsx").substr(0, 2), "PK")
        << "an xlsx workbook is a zip archive";
}

TEST(QuarixCli, ListsAndWritesAttachmentsWithoutReplacingFiles) {
    const quarix::test::ScratchFolder dir("cli-attachments");
    const QStringList list = args("attachments", data("real/complexDataTestV2010.accdb"), "Table1",
                                  "attach-data", "--format", "csv");
    CliRun all = run(list);
    EXPECT_EQ(all.exitCode, 0) << all.err.toStdString();
    EXPECT_EQ(lines(all.out), (QByteArrayList{"Row,FileName,Size", "2,test_data.txt,38",
                                              "2,test_data2.txt,43", "4,test_data2.txt,43"}));

    const QStringList write =
        list + args("--where", "[id] = 'row2'", "--output-dir", dir / "files");
    CliRun first = run(write);
    EXPECT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_EQ(lines(first.out).size(), 3);
    EXPECT_EQ(quarix::test::fileBytes(dir / "files" / "2" / "test_data2.txt"),
              "this is some more test data for attachment.");

    CliRun again = run(write);
    EXPECT_EQ(again.exitCode, 5);
    EXPECT_TRUE(again.err.contains("not replaced")) << again.err.toStdString();
}

TEST(QuarixCli, AParameterValueItsTypeRefusesIsAUsageError) {
    const quarix::test::ScratchFolder dir("cli-long-parameter");
    quarix::test::writeLongParameterCopy(data("shop.mdb").string(), (dir / "shop.mdb").string());
    const QStringList dump = args("dump", dir / "shop.mdb", "City Parameter", "--count", "--param");
    CliRun refused = run(dump + args("Which City=abc"));
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("'Which City'"));
    // A Long compared with text names: Access's mismatch, an invalid query.
    CliRun accepted = run(dump + args("which city=7"));
    EXPECT_EQ(accepted.exitCode, 4);
    EXPECT_TRUE(accepted.err.contains("3464"));
}

} // namespace
