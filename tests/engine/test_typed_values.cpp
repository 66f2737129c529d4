// Typed values of the engine: Large Number columns (64-bit integers) kept
// whole, and dates kept as their clock reading.
#include "catalogue/CatalogueLists.h"
#include "catalogue/FieldValue.h"
#include "engine/AccessDatabase.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>

#include <time.h>

namespace fs = std::filesystem;
using namespace quarix::engine;

namespace {

// Large Number columns (64-bit integers, Access 2016+), read from
// tests/data/bigint.accdb: shop.accdb with the Currency column of Types
// turned into the Large Number tLarge by tests/data/make_bigint_accdb.py.
// Its values, by ID: 42, Null, the largest and the smallest 64-bit integers,
// and 2^53 + 1, the first whole number a double cannot hold.
constexpr std::int64_t twoTo53Plus1 = 9007199254740993;

class LargeNumbers : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = quarix::test::scratchDir("large-numbers");
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
        path_ = quarix::test::dataFile("bigint.accdb");
    }
    static void TearDownTestSuite() { fs::remove_all(dir_); }

    // The IDs of the rows of a statement over Types, "1,2,...".
    static std::string ids(const std::string& where, const std::string& order = "ID") {
        const auto rows = AccessDatabase::open(path_)->execute("SELECT ID FROM Types WHERE " +
                                                               where + " ORDER BY " + order);
        std::string out;
        for (std::int64_t r = 0; r < rows->rowCount(); ++r)
            out += (r ? "," : "") + rows->text(0, rows->row(r)[0]);
        return out;
    }

    static inline fs::path dir_;
    static inline std::string path_;
};

TEST_F(LargeNumbers, ReadAsSixtyFourBitIntegers) {
    const auto db = AccessDatabase::open(path_);
    const auto& types = *std::find_if(db->catalogue().tables.begin(), db->catalogue().tables.end(),
                                      [](const TableInfo& t) { return t.name == "Types"; });
    EXPECT_EQ(types.columns.at(6).name, "tLarge");
    EXPECT_EQ(types.columns.at(6).type, ColumnType::BigInt);
    EXPECT_EQ(columnTypeName(ColumnType::BigInt), "Large Number");

    const auto rows = db->execute("Types");
    ASSERT_EQ(rows->rowCount(), 5);
    EXPECT_EQ(rows->columns().at(6).type, ColumnType::BigInt);
    const std::int64_t expected[] = {42, 0, std::numeric_limits<std::int64_t>::max(),
                                     std::numeric_limits<std::int64_t>::min(), twoTo53Plus1};
    for (std::int64_t r = 0; r < 5; ++r) {
        const OwnedValue& value = rows->row(r).at(6);
        if (r == 1) {
            EXPECT_EQ(value.kind, StoredValue::Kind::Null);
            continue;
        }
        ASSERT_EQ(value.kind, StoredValue::Kind::Integer) << r;
        EXPECT_EQ(value.integer, expected[r]);
        EXPECT_EQ(rows->text(6, value), std::to_string(expected[r]));
    }
    // The window's typed value holds the whole number too, not a double.
    const QVariant typed = quarix::catalogue::fieldValue(ColumnType::BigInt, rows->row(4).at(6));
    EXPECT_EQ(typed.typeId(), QMetaType::LongLong);
    EXPECT_EQ(typed.toLongLong(), twoTo53Plus1);
}

struct Criterion {
    const char* where;
    const char* ids;
};

class LargeNumberCriteria : public LargeNumbers, public testing::WithParamInterface<Criterion> {};

TEST_P(LargeNumberCriteria, CompareAsIntegers) {
    EXPECT_EQ(ids(GetParam().where), GetParam().ids) << GetParam().where;
}

INSTANTIATE_TEST_SUITE_P(
    Types, LargeNumberCriteria,
    testing::Values(Criterion{"[tLarge] = 42", "1"}, Criterion{"[tLarge] = 9007199254740993", "5"},
                    Criterion{"[tLarge] = 9007199254740992", ""},
                    Criterion{"[tLarge] > 9007199254740992", "3,5"},
                    // The window's "> Greater" compares Int() of the field.
                    Criterion{"Int([tLarge]) > 9007199254740992", "3,5"},
                    Criterion{"Int([tLarge]) >= 9223372036854775807", "3"},
                    Criterion{"[tLarge] > 9223372036854775806", "3"},
                    Criterion{"[tLarge] < 0", "4"}, Criterion{"[tLarge] Between 1 And 100", "1"},
                    Criterion{"[tLarge] Like '9007*'", "5"}, Criterion{"[tLarge] Is Null", "2"},
                    Criterion{"[tLarge] - 1 = 9007199254740992", "5"}));

TEST_F(LargeNumbers, SortAndListTheirValuesExactly) {
    EXPECT_EQ(ids("1 = 1", "tLarge DESC"), "3,5,1,4,2");
    const QStringList values = quarix::catalogue::distinctValues(
        *AccessDatabase::open(path_), QStringLiteral("Types"), QStringLiteral("tLarge"), 10);
    EXPECT_EQ(values, (QStringList{QStringLiteral("-9223372036854775808"), QStringLiteral("42"),
                                   QStringLiteral("9007199254740993"),
                                   QStringLiteral("9223372036854775807")}));
}

// 2021-03-28 02:30 does not exist on Berlin's clocks; a stored value says
// so all the same, and an export must not move it.
TEST(TypedValues, DatesKeepTheirClockReadingInAnyZone) {
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const QDateTime gap = quarix::catalogue::dateTimeFromSerial(44283 + 2.5 / 24);
    const QDateTime before = quarix::catalogue::dateTimeFromSerial(-1.25); // 1899-12-29 06:00
    zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
    tzset();
    EXPECT_TRUE(gap.isValid());
    EXPECT_EQ(gap.date(), QDate(2021, 3, 28));
    EXPECT_EQ(gap.time(), QTime(2, 30));
    EXPECT_EQ(before, QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC));
}

} // namespace
