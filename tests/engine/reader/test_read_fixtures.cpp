#include "engine/EngineError.h"
#include "tests/engine/reader/CollectingSink.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

using namespace quarix::engine;
using quarix::test::CollectingSink;

namespace {

// An RFC 4180 file as the fixtures write it: an unquoted empty field is
// Null (nullopt), a quoted empty field is the empty string.
using CsvRow = std::vector<std::optional<std::string>>;

inline std::vector<CsvRow> readCsv(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false;
    bool wasQuoted = false;
    auto endField = [&] {
        row.push_back(wasQuoted || !field.empty() ? std::optional<std::string>(field)
                                                  : std::nullopt);
        field.clear();
        wasQuoted = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field.push_back('"');
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field.push_back(c);
            }
        } else if (c == '"') {
            quoted = true;
            wasQuoted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endField();
            rows.push_back(std::move(row));
            row.clear();
        } else {
            field.push_back(c);
        }
    }
    if (!field.empty() || wasQuoted || !row.empty()) {
        endField();
        rows.push_back(std::move(row));
    }
    return rows;
}

// Currency in the fixtures is plain decimal text; compare it exactly as
// ten-thousandths.
std::int64_t currencyUnits(const std::string& text) {
    const bool negative = text.starts_with('-');
    const std::string digits = negative ? text.substr(1) : text;
    const std::size_t dot = digits.find('.');
    std::string fraction = dot == std::string::npos ? "" : digits.substr(dot + 1);
    fraction.resize(4, '0');
    const auto whole = static_cast<std::uint64_t>(std::stoull(digits.substr(0, dot)));
    const std::uint64_t magnitude = whole * 10000 + std::stoull(fraction);
    return negative ? static_cast<std::int64_t>(0 - magnitude)
                    : static_cast<std::int64_t>(magnitude);
}

void expectTableMatchesCsv(const std::string& file, const std::string& table) {
    SCOPED_TRACE(file + " / " + table);
    CollectingSink sink;
    AccessFileReader::readTable(quarix::test::dataFile(file), table, sink);
    const auto csv = readCsv(quarix::test::dataFile("csv/" + table + ".csv"));
    ASSERT_FALSE(csv.empty());
    ASSERT_EQ(sink.table().columns.size(), csv[0].size());
    for (std::size_t c = 0; c < csv[0].size(); ++c)
        EXPECT_EQ(sink.table().columns[c].name, csv[0][c].value_or(""));
    ASSERT_EQ(sink.rows().size(), csv.size() - 1);
    for (std::size_t r = 0; r < sink.rows().size(); ++r) {
        for (std::size_t c = 0; c < csv[0].size(); ++c) {
            const auto& value = sink.rows()[r][c];
            const auto& expected = csv[r + 1][c];
            const ColumnInfo& column = sink.table().columns[c];
            SCOPED_TRACE("row " + std::to_string(r + 1) + " column " + column.name);
            if (!expected) {
                EXPECT_TRUE(value.kind == StoredValue::Kind::Null) << value.display;
            } else if (column.type == ColumnType::Currency) {
                ASSERT_EQ(value.kind, StoredValue::Kind::Integer);
                EXPECT_EQ(value.integer, currencyUnits(*expected));
            } else {
                EXPECT_NE(value.kind, StoredValue::Kind::Null);
                EXPECT_EQ(value.display, *expected);
            }
        }
    }
}

std::vector<std::string> tableNames(const Catalogue& catalogue, bool system) {
    std::vector<std::string> names;
    for (const TableInfo& t : catalogue.tables)
        if (t.system == system)
            names.push_back(t.name);
    return names;
}

} // namespace

class ShopFile : public testing::TestWithParam<std::string> {};

TEST_P(ShopFile, EveryValueOfEveryTableMatchesTheCsv) {
    for (const char* table : {"Customers", "Orders", "Order Details", "Wide", "Types"})
        expectTableMatchesCsv(GetParam(), table);
}

TEST_P(ShopFile, CatalogueListsTablesAndQueriesWithTheirKinds) {
    const Catalogue catalogue = AccessFileReader::readCatalogue(quarix::test::dataFile(GetParam()));
    std::vector<std::string> user = tableNames(catalogue, false);
    std::sort(user.begin(), user.end());
    EXPECT_EQ(user, (std::vector<std::string>{"Customers", "Empty Table", "Order Details", "Orders",
                                              "Types", "Wide", "msysnotes"}));
    const std::vector<std::string> system = tableNames(catalogue, true);
    EXPECT_NE(std::find(system.begin(), system.end(), "MSysObjects"), system.end());
    EXPECT_NE(std::find(system.begin(), system.end(), "MSysQueries"), system.end());

    std::map<std::string, QueryKind> queries;
    for (const QueryInfo& q : catalogue.queries)
        queries[q.name] = q.kind;
    EXPECT_EQ(queries.size(), 8u);
    EXPECT_EQ(queries.at("London Customers"), QueryKind::Select);
    EXPECT_EQ(queries.at("Big Spenders"), QueryKind::Select);
    EXPECT_EQ(queries.at("Age Everyone"), QueryKind::Update);
    EXPECT_EQ(queries.at("City Parameter"), QueryKind::Select);
    EXPECT_TRUE(queries.contains("~sq_cfrmHidden"));

    const auto customers = std::find_if(catalogue.tables.begin(), catalogue.tables.end(),
                                        [](const TableInfo& t) { return t.name == "Customers"; });
    ASSERT_NE(customers, catalogue.tables.end());
    EXPECT_EQ(customers->rowEstimate, 250u);
    ASSERT_EQ(customers->columns.size(), 11u);
    EXPECT_TRUE(customers->columns[0].autoNumber);
    EXPECT_EQ(customers->columns[4].type, ColumnType::Integer);
    EXPECT_EQ(customers->columns[5].type, ColumnType::Currency);
    EXPECT_EQ(customers->columns[8].type, ColumnType::Boolean);
    EXPECT_EQ(customers->columns[10].type, ColumnType::Memo);
    const auto types = std::find_if(catalogue.tables.begin(), catalogue.tables.end(),
                                    [](const TableInfo& t) { return t.name == "Types"; });
    ASSERT_NE(types, catalogue.tables.end());
    EXPECT_EQ(types->columns.back().type, ColumnType::Decimal);
    EXPECT_EQ(types->columns.back().precision, 18);
    EXPECT_EQ(types->columns.back().scale, 4);
}

TEST_P(ShopFile, EmptyTableAndLongMemosAndProgress) {
    CollectingSink empty;
    AccessFileReader::readTable(quarix::test::dataFile(GetParam()), "Empty Table", empty);
    EXPECT_EQ(empty.begun(), 1);
    EXPECT_TRUE(empty.rows().empty());
    EXPECT_FALSE(empty.table().columns.empty());

    CollectingSink types;
    AccessFileReader::readTable(quarix::test::dataFile(GetParam()), "Types", types);
    const auto memo = types.column("tMemo");
    ASSERT_TRUE(memo);
    EXPECT_EQ(types.rows().at(2)[*memo].bytes.size(), 70000u);
    // Decimals are stored with their scale even where the display drops it.
    EXPECT_EQ(types.rows().at(4)[*types.column("tNumeric")].bytes, "7.0000");

    std::uint64_t lastRead = 0;
    std::uint64_t expected = 0;
    ReadOptions options;
    options.progress = [&](std::uint64_t read, std::uint64_t total) {
        lastRead = read;
        expected = total;
    };
    CollectingSink orders;
    AccessFileReader::readTable(quarix::test::dataFile(GetParam()), "Orders", orders, options);
    EXPECT_EQ(lastRead, 1000u);
    EXPECT_EQ(expected, 1000u);
}

INSTANTIATE_TEST_SUITE_P(Reader, ShopFile, testing::Values("shop.mdb", "shop.accdb"),
                         [](const auto& info) {
                             return info.param == "shop.mdb" ? "Mdb" : "Accdb";
                         });

TEST(RealFiles, EveryTableOfEveryFileReads) {
    for (const auto& entry :
         std::filesystem::directory_iterator(quarix::test::dataDir() / "real")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".mdb" && ext != ".accdb")
            continue;
        SCOPED_TRACE(entry.path().filename().string());
        const Catalogue catalogue = AccessFileReader::readCatalogue(entry.path().string());
        EXPECT_FALSE(tableNames(catalogue, false).empty());
        for (const TableInfo& table : catalogue.tables) {
            SCOPED_TRACE(table.name);
            // A linked table's rows are in its own file.
            if (table.link.kind != LinkKind::None)
                continue;
            CollectingSink sink;
            EXPECT_NO_THROW(AccessFileReader::readTable(entry.path().string(), table.name, sink));
            EXPECT_EQ(sink.table().columns.size(), table.columns.size());
        }
    }
}

TEST(RealFiles, SystemTablesWithoutFlagsAreStillSystem) {
    const Catalogue catalogue =
        AccessFileReader::readCatalogue(quarix::test::dataFile("real/queryTestV2007.accdb"));
    const std::vector<std::string> user = tableNames(catalogue, false);
    EXPECT_EQ(std::count(user.begin(), user.end(), "MSysCompactError"), 0);
    EXPECT_EQ(std::count(user.begin(), user.end(), "Table1"), 1);
    std::map<std::string, QueryKind> kinds;
    for (const QueryInfo& q : catalogue.queries)
        kinds[q.name] = q.kind;
    std::set<QueryKind> seen;
    for (const auto& [name, kind] : kinds)
        seen.insert(kind);
    EXPECT_GE(seen.size(), 8u);
}

// The attachment fields of the test files. The hidden table of the renamed
// one keeps the key column named after the column as it was made
// (_attach-data); the column itself is now attach-file.
const std::pair<const char*, const char*> attachmentFields[] = {
    {"real/complexDataTestV2010.accdb", "attach-data"},
    {"renamed-attachment.accdb", "attach-file"}};

TEST(RealFiles, AttachmentAndMultiValueColumnsGiveSummaries) {
    for (const auto& [file, field] : attachmentFields) {
        CollectingSink sink;
        AccessFileReader::readTable(quarix::test::dataFile(file), "Table1", sink);
        const auto attach = sink.column(field);
        ASSERT_TRUE(attach) << file;
        ASSERT_EQ(sink.rows().size(), 4u);
        EXPECT_EQ(sink.rows()[1][*attach].display, "test_data.txt; test_data2.txt") << file;
        EXPECT_EQ(sink.rows()[3][*attach].display, "test_data2.txt") << file;
    }
    CollectingSink sink;
    AccessFileReader::readTable(quarix::test::dataFile("real/complexDataTestV2010.accdb"), "Table1",
                                sink);
    const auto attach = sink.column("attach-data");
    const auto multi = sink.column("multi-value-data");
    ASSERT_TRUE(attach && multi);
    EXPECT_EQ(sink.table().columns[*attach].type, ColumnType::Complex);
    EXPECT_EQ(sink.rows()[0][*attach].kind, StoredValue::Kind::Null);
    EXPECT_EQ(sink.rows()[1][*multi].display, "value1; value4");
    EXPECT_EQ(sink.rows()[2][*multi].display, "value1; value2; value3; value4");
}

TEST(RealFiles, AttachmentFilesComeUnpackedToTheirExactBytes) {
    for (const auto& [file, field] : attachmentFields) {
        CollectingSink sink;
        AccessFileReader::readAttachments(quarix::test::dataFile(file), "Table1", field, sink);
        ASSERT_EQ(sink.rows().size(), 3u) << file;
        std::vector<std::string> got;
        for (const auto& row : sink.rows())
            got.push_back(row[0].display + "|" + row[1].display + "|" + row[2].display + "|" +
                          row[3].bytes);
        EXPECT_EQ(got, (std::vector<std::string>{
                           "2|test_data.txt|txt|this is some test data for attachment.",
                           "2|test_data2.txt|txt|this is some more test data for attachment.",
                           "4|test_data2.txt|txt|this is some more test data for attachment."}))
            << file;
    }
}

TEST(RealFiles, AttachmentsOfAFieldThatHoldsNoneFail) {
    CollectingSink sink;
    const std::string path = quarix::test::dataFile("real/complexDataTestV2010.accdb");
    for (const auto& [field, number] : std::vector<std::pair<std::string, int>>{
             {"memo-data", 3000}, {"multi-value-data", 3000}, {"no such field", 3265}}) {
        try {
            AccessFileReader::readAttachments(path, "Table1", field, sink);
            ADD_FAILURE() << field;
        } catch (const EngineError& e) {
            EXPECT_EQ(e.number(), number) << field;
        }
    }
}

TEST(RealFiles, CalculatedColumnsDecodeByTheirResultType) {
    CollectingSink sink;
    AccessFileReader::readTable(quarix::test::dataFile("real/calcFieldTestV2010.accdb"), "Table1",
                                sink);
    ASSERT_FALSE(sink.rows().empty());
    const auto lastFirst = sink.column("LastFirst");
    const auto length = sink.column("LastFirstLen");
    const auto monthly = sink.column("MonthlySalary");
    const auto rich = sink.column("IsRich");
    ASSERT_TRUE(lastFirst && length && monthly && rich);
    EXPECT_TRUE(sink.table().columns[*lastFirst].calculated);
    EXPECT_EQ(sink.table().columns[*rich].type, ColumnType::Boolean);
    const auto& bruce = sink.rows()[0];
    EXPECT_EQ(bruce[*lastFirst].display, "Wayne, Bruce");
    EXPECT_EQ(bruce[*length].display, "12");
    EXPECT_EQ(bruce[*monthly].display, "83333.3333");
    EXPECT_EQ(bruce[*rich].display, "True");
    EXPECT_EQ(bruce[*sink.column("AllNames")].display, "Wayne, Bruce=Wayne, Bruce");
    EXPECT_EQ(bruce[*sink.column("WeeklySalary")].display, "19230.7692307692");
    EXPECT_EQ(bruce[*sink.column("DecimalTest")].display, "50.325");
    EXPECT_EQ(bruce[*sink.column("FloatTest")].display, "2583.2092");
    EXPECT_EQ(sink.rows()[1][*sink.column("DecimalTest")].display, "-36.2222");
}
