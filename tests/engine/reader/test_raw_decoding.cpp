#include "engine/StoredValue.h"
#include "engine/reader/FileHeader.h"
#include "engine/reader/FileLock.h"
#include "engine/reader/PropertyBlob.h"
#include "engine/reader/RawValues.h"
#include "engine/reader/TextDecoding.h"

#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <random>

using namespace quarix::engine;

namespace {

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

std::string utf16(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xff));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

std::string accessText(std::string_view raw) {
    std::string out;
    appendUtf8FromAccessText(raw, out);
    return out;
}

std::string u16le(int v) {
    return bytes({v & 0xff, (v >> 8) & 0xff});
}
std::string u32le(std::uint32_t v) {
    return u16le(static_cast<int>(v & 0xffff)) + u16le(static_cast<int>(v >> 16));
}

std::string real(ColumnType type, double v) {
    return displayText(type, StoredValue::ofReal(v));
}
std::string integer(ColumnType type, std::int64_t v) {
    return displayText(type, StoredValue::ofInteger(v));
}

} // namespace

TEST(AccessText, DecodesPlainCompressedAndSurrogatePairs) {
    EXPECT_EQ(accessText(utf16(u"Zürich")), "Zürich");
    // Compressed: one-byte characters, a 0x00 toggles to UTF-16 and back.
    EXPECT_EQ(
        accessText(bytes({0xff, 0xfe, 'S', 0xe3, 'o', 0x00}) + utf16(u"日本") + bytes({0x00, '!'})),
        "São日本!");
    EXPECT_EQ(accessText(utf16(u"a\U0001F600b")), "a\U0001F600b");
    EXPECT_EQ(accessText(bytes({0xff, 0xfe, 0x00}) + utf16(u"\U0001F601")), "\U0001F601");
    // Lone surrogates and an odd trailing byte do not break the rest.
    EXPECT_EQ(accessText(utf16(u"x") + bytes({0x00, 0xd8}) + utf16(u"y") + "z"), "x\uFFFDy");
    EXPECT_EQ(accessText(""), "");
}

TEST(AccessText, Jet3CodePage) {
    std::string out;
    appendUtf8FromCodePage(bytes({'M', 0xfc, 'l', 'l', 'e', 'r', ' ', 0x80}), 1252, out);
    EXPECT_EQ(out, "Müller €");
}

TEST(RawValues, GuidDecimalAndExtendedDate) {
    std::string out;
    ASSERT_TRUE(appendGuidText(bytes({0xff, 0x19, 0x96, 0x6f, 0x86, 0x8b, 0x11, 0xd0, 0xb4, 0x2d,
                                      0x00, 0xc0, 0x4f, 0xc9, 0x64, 0xff}),
                               out));
    EXPECT_EQ(out, "{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
    EXPECT_FALSE(appendGuidText("short", out));

    // -12.3400 at scale 4 = -123400: sign byte, then words high to low.
    out.clear();
    ASSERT_TRUE(
        appendDecimalText(bytes({0x80}) + u32le(0) + u32le(0) + u32le(0) + u32le(123400), 4, out));
    EXPECT_EQ(out, "-12.3400");
    out.clear();
    ASSERT_TRUE(
        appendDecimalText(bytes({0x00}) + u32le(0) + u32le(0) + u32le(1) + u32le(0), 0, out));
    EXPECT_EQ(out, "4294967296");
    out.clear();
    ASSERT_TRUE(
        appendDecimalText(bytes({0x00}) + u32le(0) + u32le(0) + u32le(0) + u32le(1), 4, out));
    EXPECT_EQ(out, "0.0001");
    EXPECT_FALSE(appendDecimalText("too short", 2, out));

    // A calculated decimal as Access 2010 stores 1000000/52 (scale 10).
    out.clear();
    ASSERT_TRUE(appendCalculatedDecimalText(
        bytes({0x0e, 0, 0x0a, 0x00, 0, 0, 0, 0, 0xec, 0x04, 0xb0, 0x1f, 0xe7, 0xae, 0, 0}), out));
    EXPECT_EQ(out, "19230.7692307692");
    out.clear();
    ASSERT_TRUE(appendCalculatedDecimalText(
        bytes({0, 0, 6, 0x80, 0, 0, 0, 0, 0xf8, 0xb4, 0x28, 0x02, 0, 0, 0, 0}), out));
    EXPECT_EQ(out, "-36.222200");

    out.clear();
    // 2024-02-29 is day 738944 counted from 0001-01-01.
    ASSERT_TRUE(appendDateTimeExtendedText("0000000000000738944:0000000495301234567:7", out));
    EXPECT_EQ(out, "2024-02-29 13:45:30.1234567");
    EXPECT_FALSE(appendDateTimeExtendedText("garbage", out));

    EXPECT_EQ(unwrapCalculatedValue(std::string(16, '\0') + u32le(2) + "ab!"), "ab");
    EXPECT_FALSE(unwrapCalculatedValue(std::string(16, '\0') + u32le(9) + "ab"));
}

TEST(PropertyBlob, FindsCalculatedColumnsAndStopsOnMalformedRecords) {
    const std::string names = u16le(20) + utf16(u"Expression") + u16le(20) + utf16(u"ResultType");
    const std::string nameBlock =
        u32le(static_cast<std::uint32_t>(6 + names.size())) + u16le(0x80) + names;
    const std::string expression = utf16(u"[A]+1");
    const std::string records = u16le(static_cast<int>(8 + expression.size())) + bytes({0, 12}) +
                                u16le(0) + u16le(static_cast<int>(expression.size())) + expression +
                                u16le(9) + bytes({0, 2}) + u16le(1) + u16le(1) + bytes({4});
    const std::string objectName = utf16(u"Total");
    const std::string header = u32le(static_cast<std::uint32_t>(6 + objectName.size())) +
                               u16le(static_cast<int>(objectName.size())) + objectName;
    const std::string valueBlock =
        u32le(static_cast<std::uint32_t>(6 + header.size() + records.size())) + u16le(1) + header +
        records;
    const auto found = parseCalculatedColumns(std::string("MR2") + '\0' + nameBlock + valueBlock);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.at("Total").expression, "[A]+1");
    EXPECT_EQ(found.at("Total").resultType, 4);

    // A record of length 0 would loop forever in a naive parser.
    const std::string looping = u32le(static_cast<std::uint32_t>(6 + header.size() + 8)) +
                                u16le(1) + header + u16le(0) + bytes({0, 2}) + u16le(1) + u16le(1);
    EXPECT_TRUE(parseCalculatedColumns(std::string("MR2") + '\0' + nameBlock + looping).empty());
    EXPECT_TRUE(parseCalculatedColumns(std::string("MR2") + '\0' + u32le(0)).empty());
    EXPECT_TRUE(parseCalculatedColumns("KKD").empty());
}

TEST(FileHeader, RecognisesFormatsAndRejectsOtherBytes) {
    const auto mdb = readFileHeader(quarix::test::dataFile("shop.mdb").c_str());
    ASSERT_TRUE(mdb);
    EXPECT_EQ(mdb->format, FileFormat::Jet4);
    EXPECT_EQ(lockOf(*mdb).kind, LockKind::None);
    const auto accdb = readFileHeader(quarix::test::dataFile("shop.accdb").c_str());
    ASSERT_TRUE(accdb);
    EXPECT_EQ(accdb->format, FileFormat::Ace);
    EXPECT_EQ(lockOf(*accdb).kind, LockKind::None);
    const auto jet3 = readFileHeader(quarix::test::dataFile("real/testV1997.mdb").c_str());
    ASSERT_TRUE(jet3);
    EXPECT_EQ(jet3->format, FileFormat::Jet3);
    EXPECT_EQ(jet3->codePage, 1252);

    EXPECT_FALSE(parseFileHeader(""));
    EXPECT_FALSE(parseFileHeader(std::string(4096, '\0')));
    std::mt19937 random(7);
    std::string noise(4096, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    EXPECT_FALSE(parseFileHeader(noise));
}

TEST(FileHeader, AnAccdbWithAnEncodingKeyAndNoEncryptionInfoIsDamaged) {
    std::ifstream in(quarix::test::dataFile("shop.accdb"), std::ios::binary);
    std::string page(4096, '\0');
    in.read(page.data(), static_cast<std::streamsize>(page.size()));
    // Flip a byte of the (masked) key: any non-zero key means encryption.
    page[0x3e] = static_cast<char>(page[0x3e] ^ 0x5a);
    const auto header = parseFileHeader(page);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->encodingKey, 0x5au);
    const FileLock lock = lockOf(*header);
    EXPECT_EQ(lock.kind, LockKind::Unsupported);
    EXPECT_EQ(lock.scheme, "a damaged Office encryption header");
}

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
