#include "engine/StoredValue.h"

#include <gtest/gtest.h>

#include <limits>

using quarix::engine::ColumnType;
using quarix::engine::displayText;
using quarix::engine::StoredValue;

namespace {

std::string real(ColumnType type, double v) {
    return displayText(type, StoredValue::ofReal(v));
}
std::string integer(ColumnType type, std::int64_t v) {
    return displayText(type, StoredValue::ofInteger(v));
}

} // namespace

TEST(DisplayText, DatesCoverYears100To9999AndTimeOfDayOnNegativeSerials) {
    EXPECT_EQ(real(ColumnType::DateTime, 0.0), "1899-12-30 00:00:00");
    EXPECT_EQ(real(ColumnType::DateTime, 45351.573263888888), "2024-02-29 13:45:30");
    EXPECT_EQ(real(ColumnType::DateTime, 2958465.999988426), "9999-12-31 23:59:59");
    // Negative serials count days back; the fraction is still the time.
    EXPECT_EQ(real(ColumnType::DateTime, -18095.25), "1850-06-15 06:00:00");
    EXPECT_EQ(real(ColumnType::DateTime, -1.5), "1899-12-29 12:00:00");
    EXPECT_EQ(real(ColumnType::DateTime, -657434.0), "0100-01-01 00:00:00");
    // Rounding to the second can carry into the next day.
    EXPECT_EQ(real(ColumnType::DateTime, 0.9999999), "1899-12-31 00:00:00");
}

TEST(DisplayText, FloatingPointUsesShortestDigitsInPlainOrScientificLayout) {
    EXPECT_EQ(real(ColumnType::Double, 3.25), "3.25");
    EXPECT_EQ(real(ColumnType::Double, 7.0), "7.0");
    EXPECT_EQ(real(ColumnType::Double, -0.5), "-0.5");
    EXPECT_EQ(real(ColumnType::Double, 0.125), "0.125");
    EXPECT_EQ(real(ColumnType::Double, 1e300), "1.0E300");
    EXPECT_EQ(real(ColumnType::Double, 0.001), "0.001");
    EXPECT_EQ(real(ColumnType::Double, 0.0001), "1.0E-4");
    EXPECT_EQ(real(ColumnType::Double, 1234567.0), "1234567.0");
    EXPECT_EQ(real(ColumnType::Double, 12345678.0), "1.2345678E7");
    EXPECT_EQ(real(ColumnType::Double, 0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(real(ColumnType::Double, 0.0), "0.0");
    // Singles print the float's own shortest digits, not the widened double's.
    EXPECT_EQ(real(ColumnType::Single, static_cast<float>(1.1)), "1.1");
    EXPECT_EQ(real(ColumnType::Single, -3.0e38f), "-3.0E38");
    EXPECT_EQ(real(ColumnType::Single, 1.5f), "1.5");
    EXPECT_EQ(real(ColumnType::Double, std::numeric_limits<double>::infinity()), "Infinity");
}

TEST(DisplayText, CurrencyIsExactWithTwoToFourDecimals) {
    EXPECT_EQ(integer(ColumnType::Currency, 129900), "12.99");
    EXPECT_EQ(integer(ColumnType::Currency, 617000), "61.70");
    EXPECT_EQ(integer(ColumnType::Currency, -4622100), "-462.21");
    EXPECT_EQ(integer(ColumnType::Currency, 1), "0.0001");
    EXPECT_EQ(integer(ColumnType::Currency, std::numeric_limits<std::int64_t>::max()),
              "922337203685477.5807");
    EXPECT_EQ(integer(ColumnType::Currency, std::numeric_limits<std::int64_t>::min()),
              "-922337203685477.5808");
}

TEST(DisplayText, OtherTypes) {
    EXPECT_EQ(integer(ColumnType::Boolean, -1), "True");
    EXPECT_EQ(integer(ColumnType::Boolean, 0), "False");
    EXPECT_EQ(integer(ColumnType::Long, -2147483648LL), "-2147483648");
    EXPECT_EQ(displayText(ColumnType::Decimal, StoredValue::ofText("7.0000")), "7");
    EXPECT_EQ(displayText(ColumnType::Decimal, StoredValue::ofText("-12.3400")), "-12.34");
    EXPECT_EQ(displayText(ColumnType::Decimal, StoredValue::ofText("0.0001")), "0.0001");
    EXPECT_EQ(displayText(ColumnType::Decimal, StoredValue::ofText("120")), "120");
    EXPECT_EQ(displayText(ColumnType::Binary,
                          StoredValue::ofBlob(std::string_view("\x01\x02\x03\xff", 4))),
              "010203FF");
    EXPECT_EQ(displayText(ColumnType::Text, StoredValue::ofText("Zürich")), "Zürich");
    EXPECT_EQ(displayText(ColumnType::Text, StoredValue::null()), "");
}
