// The building blocks under the functions: text order, Like patterns,
// number text and the serial date arithmetic.
#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessText.h"
#include "engine/sql/LikePattern.h"

#include <gtest/gtest.h>

namespace quarix::engine::sql {
namespace {

struct OrderCase {
    const char* a;
    const char* b;
    int sign;
};

using O = OrderCase;
class TextOrder : public ::testing::TestWithParam<OrderCase> {};

TEST_P(TextOrder, IgnoresCaseAndSortsAccentsBesideTheirLetter) {
    const int c = compareText(GetParam().a, GetParam().b);
    EXPECT_EQ((c > 0) - (c < 0), GetParam().sign) << GetParam().a << " vs " << GetParam().b;
    const int reverse = compareText(GetParam().b, GetParam().a);
    EXPECT_EQ((reverse > 0) - (reverse < 0), -GetParam().sign);
}

INSTANTIATE_TEST_SUITE_P(Pairs, TextOrder,
                         ::testing::Values(O{"London", "LONDON", 0}, O{"zürich", "ZÜRICH", 0},
                                           O{"Ångström", "åNGSTRÖM", 0}, O{"Zürich", "Zurich", 1},
                                           O{"Zürich", "Zz", -1}, O{"Zürich", "Zuse", -1},
                                           O{"éclair", "eclair", 1}, O{"éclair", "Eclairs", -1},
                                           O{"a", "B", -1}, O{"", "a", -1},
                                           O{"London", "Londonderry", -1}, O{"Østerbro", "Oz", -1},
                                           O{"abc", "abd", -1}, O{"ΑΘΗΝΑ", "αθηνα", 0}));

struct LikeCase {
    const char* pattern;
    const char* text;
    bool matches;
};

using L = LikeCase;
class Like : public ::testing::TestWithParam<LikeCase> {};

TEST_P(Like, MatchesAsAccessDoes) {
    const LikePattern pattern(GetParam().pattern);
    EXPECT_EQ(pattern.matches(GetParam().text), GetParam().matches)
        << GetParam().pattern << " / " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, Like,
    ::testing::Values(L{"*lon*", "Londonderry", true}, L{"*lon*", "Berlin", false},
                      L{"*lon*", "lo", false}, L{"lon*", "LONDON", true}, L{"*don", "London", true},
                      L{"*don", "Londonderry", false}, L{"london", "London", true},
                      L{"london", "Londo", false}, L{"", "", true}, L{"*", "", true},
                      L{"?", "", false}, L{"?", "ü", true}, L{"a?c", "aüc", true},
                      L{"*ü*", "ZÜRICH", true}, L{"#", "7", true}, L{"#", "x", false},
                      L{"[a-c]x", "Bx", true}, L{"[!a-c]x", "bx", false}, L{"[!a-c]x", "dx", true},
                      L{"[*]*", "*star", true}, L{"[?]", "a", false}, L{"a[-]b", "a-b", true},
                      L{"*a*b*c*", "xxaxxbxxcxx", true}, L{"*a*b*c", "abcabca", false},
                      L{"*ab", "aab", true}, L{"a*a", "a", false}, L{"**x", "x", true},
                      L{"%", "%", true}, L{"_", "a", false}, L{"[abc", "a", false},
                      L{"[abc", "[abc", false}, L{"*[", "x[", false}, L{"a*[", "a", false}));

struct SerialCase {
    DateParts parts;
    double serial;
};

using S = SerialCase;
class Serials : public ::testing::TestWithParam<SerialCase> {};

TEST_P(Serials, ConvertBothWays) {
    const DateParts p = GetParam().parts;
    EXPECT_DOUBLE_EQ(serialFromParts(p), GetParam().serial);
    const DateParts back = partsFromSerial(GetParam().serial);
    EXPECT_EQ(back.year, p.year);
    EXPECT_EQ(back.month, p.month);
    EXPECT_EQ(back.day, p.day);
    EXPECT_EQ(back.hour * 3600 + back.minute * 60 + back.second,
              p.hour * 3600 + p.minute * 60 + p.second);
}

INSTANTIATE_TEST_SUITE_P(
    KnownDays, Serials,
    ::testing::Values(S{{1899, 12, 30, 0, 0, 0}, 0}, S{{1900, 1, 1, 0, 0, 0}, 2},
                      S{{1899, 12, 29, 6, 0, 0}, -1.25}, S{{1899, 12, 30, 18, 0, 0}, 0.75},
                      S{{100, 1, 1, 0, 0, 0}, -657434}, S{{9999, 12, 31, 0, 0, 0}, 2958465},
                      S{{2024, 2, 29, 12, 0, 0}, 45351.5}, S{{1800, 1, 1, 12, 0, 0}, -36522.5}));

TEST(Serials, RoundTripEverySecondYearFrom100To9999) {
    for (int year = 100; year <= 9999; year += 2) {
        const DateParts p{year,      1 + year % 12, 1 + year % 28,
                          year % 24, year % 60,     (year * 7) % 60};
        const DateParts back = partsFromSerial(serialFromParts(p));
        ASSERT_EQ(formatSerial(serialFromParts(back)), formatSerial(serialFromParts(p)));
        ASSERT_EQ(back.year, p.year);
        ASSERT_EQ(back.day, p.day);
        ASSERT_EQ(back.second, p.second);
    }
}

struct DateTextCase {
    const char* text;
    const char* value; // formatted, or "none"
};

using D = DateTextCase;
class DateTexts : public ::testing::TestWithParam<DateTextCase> {};

TEST_P(DateTexts, ReadAsAccessReadsThem) {
    const auto serial = parseDateText(GetParam().text);
    EXPECT_EQ(serial ? formatSerial(*serial) : std::string("none"), GetParam().value)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DateTexts,
    ::testing::Values(D{"1/14/2001", "2001-01-14 00:00:00"}, D{"14/1/2001", "2001-01-14 00:00:00"},
                      D{"2001-01-14 14:30:15", "2001-01-14 14:30:15"},
                      D{"1/14/01 2:30 PM", "2001-01-14 14:30:00"},
                      D{"12/31/29", "2029-12-31 00:00:00"}, D{"12/31/30", "1930-12-31 00:00:00"},
                      D{"5 Jan 2020", "2020-01-05 00:00:00"},
                      D{"January 5, 2020", "2020-01-05 00:00:00"},
                      D{"5-Sep-2020", "2020-09-05 00:00:00"}, D{"12:00 AM", "1899-12-30 00:00:00"},
                      D{"23:59:59", "1899-12-30 23:59:59"}, D{"2/30/2020", "none"},
                      D{"13/13/2020", "none"}, D{"25:00", "none"}, D{"hello", "none"},
                      D{"12", "none"}, D{"", "none"}));

TEST(NumberText, ReadsAndWritesAsAccess) {
    double d = 0;
    EXPECT_TRUE(parseNumber(" 1,234.5 ", d));
    EXPECT_DOUBLE_EQ(d, 1234.5);
    EXPECT_TRUE(parseNumber("-1e3", d));
    EXPECT_DOUBLE_EQ(d, -1000);
    EXPECT_TRUE(parseNumber(".5", d));
    EXPECT_FALSE(parseNumber("1e", d));
    EXPECT_FALSE(parseNumber("12a", d));
    EXPECT_FALSE(parseNumber("", d));
    EXPECT_FALSE(parseNumber("-", d));
    EXPECT_EQ(formatNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(formatNumber(-0.0), "0");
    EXPECT_EQ(formatNumber(1e20), "1E+20");
    EXPECT_EQ(formatNumber(1.5e-7), "1.5E-07");
    EXPECT_EQ(formatNumber(123456789012.5), "123456789012.5");
}

} // namespace
} // namespace quarix::engine::sql
