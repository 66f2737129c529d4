// Byte-level decoders: text, raw values, property blobs, file headers,
// display text, attachment content, data pages and the helper's wire format.
#include "engine/StoredValue.h"
#include "engine/reader/AttachmentContent.h"
#include "engine/reader/DataPage.h"
#include "engine/reader/FileHeader.h"
#include "engine/reader/FileLock.h"
#include "engine/reader/PropertyBlob.h"
#include "engine/reader/RawValues.h"
#include "engine/reader/TableDamage.h"
#include "engine/reader/TextDecoding.h"
#include "engine/reader/WireFormat.h"

#include "tests/support/TestData.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <span>
#include <string>
#include <vector>

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

namespace {

std::string u32(std::uint32_t v) {
    std::string s(4, '\0');
    std::memcpy(s.data(), &v, 4);
    return s;
}

// The inner content Access keeps: header length, a flag, the extension.
std::string content(const std::string& file) {
    const std::string extension("t\0x\0t\0\0\0", 8);
    return u32(20) + u32(1) + u32(4) + extension + file;
}

std::string deflated(const std::string& bytes) {
    uLongf size = compressBound(bytes.size());
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
    out.resize(size);
    return out;
}

const std::string kFile("a file\0with a zero byte", 23);

struct Case {
    const char* what;
    std::string stored;
    std::optional<std::string> file;
};

class AttachmentContent : public testing::TestWithParam<Case> {};

TEST_P(AttachmentContent, GivesTheExactFileOrNothing) {
    EXPECT_EQ(attachmentFileBytes(GetParam().stored), GetParam().file) << GetParam().what;
}

const std::string kInner = content(kFile);

INSTANTIATE_TEST_SUITE_P(
    Stored, AttachmentContent,
    testing::Values(
        Case{"deflated", u32(1) + u32(static_cast<std::uint32_t>(kInner.size())) + deflated(kInner),
             kFile},
        Case{"stored as is (a jpg, a zip)",
             u32(0) + u32(static_cast<std::uint32_t>(kInner.size())) + kInner, kFile},
        Case{"an empty file", u32(0) + u32(20) + content(""), std::string()},
        Case{"shorter than its header", u32(1), std::nullopt},
        Case{"unpacked length that does not match",
             u32(1) + u32(static_cast<std::uint32_t>(kInner.size() + 1)) + deflated(kInner),
             std::nullopt},
        Case{"a stream cut short",
             u32(1) + u32(static_cast<std::uint32_t>(kInner.size())) +
                 deflated(kInner).substr(0, 10),
             std::nullopt},
        Case{"not a zlib stream", u32(1) + u32(static_cast<std::uint32_t>(kInner.size())) + kInner,
             std::nullopt},
        Case{"an unknown kind", u32(7) + u32(static_cast<std::uint32_t>(kInner.size())) + kInner,
             std::nullopt},
        Case{"an inner header longer than the content",
             u32(0) + u32(12) + u32(4000) + u32(1) + u32(0), std::nullopt},
        Case{"a length beyond what Quarix unpacks", u32(1) + u32(0xffffffffu) + deflated(kInner),
             std::nullopt}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

constexpr unsigned pageSize = 4096;
constexpr unsigned rowCountOffset = 12; // Jet 4 and ACE

void put16(std::string& page, std::size_t at, unsigned v) {
    page[at] = static_cast<char>(v & 0xff);
    page[at + 1] = static_cast<char>(v >> 8);
}

// A data page of the table defined on page 7, laid out as Access lays it
// out: rows from the end down, each row's bytes filled with its number,
// the free space between the row table and the lowest row.
std::string dataPage(const std::vector<unsigned>& sizes, const std::vector<unsigned>& flags = {}) {
    std::string page(pageSize, '\0');
    page[0] = 0x01;
    page[1] = 0x01;
    put16(page, 4, 7);
    put16(page, rowCountOffset, static_cast<unsigned>(sizes.size()));
    unsigned end = pageSize;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const unsigned start = end - sizes[i];
        std::fill_n(page.begin() + start, sizes[i], static_cast<char>('A' + i));
        put16(page, rowCountOffset + 2 + 2 * i, start | (i < flags.size() ? flags[i] : 0));
        end = start;
    }
    put16(page, 2, end - (rowCountOffset + 2 + 2 * static_cast<unsigned>(sizes.size())));
    return page;
}

TEST(DataPage, ASoundPageGivesItsRowsInPlace) {
    const std::string bytes = dataPage({10, 20, 5, 0}, {0, 0xc000, 0x4000, 0xc000});
    const auto page = DataPage::read(bytes, rowCountOffset);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->owner(), 7u);
    ASSERT_EQ(page->rowCount(), 4u);
    EXPECT_EQ(page->row(0).bytes, std::string(10, 'A'));
    EXPECT_EQ(page->row(0).start, pageSize - 10);
    EXPECT_EQ(page->row(1).bytes, std::string(20, 'B'));
    EXPECT_TRUE(page->row(0).live);
    EXPECT_FALSE(page->row(1).live) << "deleted";
    EXPECT_FALSE(page->row(2).live) << "moved to another page";
    EXPECT_TRUE(page->row(3).bytes.empty());

    std::string longValues = dataPage({});
    longValues.replace(4, 4, "LVAL");
    EXPECT_EQ(DataPage::read(longValues, rowCountOffset)->owner(), DataPage::longValueOwner);
    EXPECT_EQ(DataPage::read(longValues, rowCountOffset)->rowCount(), 0u);
}

struct Damage {
    const char* name;
    std::function<void(std::string&)> apply;
};

class DamagedDataPage : public testing::TestWithParam<Damage> {};

TEST_P(DamagedDataPage, IsNotReadAtAll) {
    std::string bytes = dataPage({100, 40, 60});
    ASSERT_TRUE(DataPage::read(bytes, rowCountOffset));
    GetParam().apply(bytes);
    EXPECT_FALSE(DataPage::read(bytes, rowCountOffset));
}

INSTANTIATE_TEST_SUITE_P(
    Damages, DamagedDataPage,
    testing::Values(
        Damage{"zeroed", [](std::string& p) { std::fill(p.begin(), p.end(), '\0'); }},
        Damage{"notADataPage", [](std::string& p) { p[0] = 0x02; }},
        Damage{"rowCountBeyondThePage", [](std::string& p) { put16(p, rowCountOffset, 0xffff); }},
        // One row more than there are: its place comes from the free space.
        Damage{"oneRowTooMany", [](std::string& p) { put16(p, rowCountOffset, 4); }},
        Damage{"oneRowTooFew", [](std::string& p) { put16(p, rowCountOffset, 2); }},
        Damage{"freeSpaceChanged", [](std::string& p) { p[2] = static_cast<char>(p[2] ^ 0x10); }},
        Damage{"rowsOverlap", [](std::string& p) { put16(p, rowCountOffset + 4, pageSize - 90); }},
        Damage{"rowInsideTheRowTable", [](std::string& p) { put16(p, rowCountOffset + 6, 16); }},
        Damage{"shortPage", [](std::string& p) { p.resize(rowCountOffset + 1); }}),
    [](const testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

TEST(TableDamage, DescriptionNamesTheTableAndWhatWasLost) {
    EXPECT_EQ(damageDescription("Order Details", "/d/shop.mdb", {0, 1, 0}, 502, 600),
              "The table 'Order Details' in '/d/shop.mdb' is damaged: 1 page of rows could not "
              "be read (502 of the 600 rows its definition counts were read).");
    EXPECT_EQ(damageDescription("T", "/a.mdb", {3, 2, 1}, 10, 5),
              "The table 'T' in '/a.mdb' is damaged: 2 pages of rows, 3 rows and 1 value could "
              "not be read.");
    EXPECT_EQ(damageDescription("T", "/a.mdb", {1, 0, 2}, 10, 20),
              "The table 'T' in '/a.mdb' is damaged: 1 row and 2 values could not be read.");
}

} // namespace

TEST(WireFormat, CatalogueSurvivesTheRoundTrip) {
    Catalogue catalogue;
    catalogue.format = FileFormat::Ace;
    TableInfo table{"Order Details", 42, 0, false, 600, {}, {}};
    table.columns.push_back({"Price", ColumnType::Decimal, 17, 18, 4, false, false});
    table.columns.push_back({"ID", ColumnType::Long, 4, 0, 0, true, false});
    table.columns.push_back({"Total", ColumnType::Double, 8, 0, 0, false, true});
    catalogue.tables.push_back(table);
    TableInfo linked{"Remote", -7, 0, false, 0, {}, {}};
    linked.link = {LinkKind::AccessFile, "Z:\\data\\b.accdb", "Orders", {}};
    catalogue.tables.push_back(linked);
    catalogue.queries.push_back({"Big Spenders", 7, 0x80, QueryKind::Union});
    catalogue.forms.push_back({"Main", -32768, 0});
    catalogue.others.push_back({"Linked", 6, 0});
    catalogue.pages = {2, 9, 31};

    std::string buffer;
    wire::ByteWriter out(buffer);
    wire::writeCatalogue(out, catalogue);
    wire::ByteReader in(buffer);
    const Catalogue back = wire::readCatalogue(in);
    EXPECT_TRUE(in.atEnd());
    ASSERT_EQ(back.tables.size(), 2u);
    EXPECT_EQ(back.tables[1].link.kind, LinkKind::AccessFile);
    EXPECT_EQ(back.tables[1].link.database, "Z:\\data\\b.accdb");
    EXPECT_EQ(back.tables[1].link.foreignName, "Orders");
    EXPECT_EQ(back.format, FileFormat::Ace);
    EXPECT_EQ(back.tables[0].name, "Order Details");
    EXPECT_EQ(back.tables[0].rowEstimate, 600u);
    ASSERT_EQ(back.tables[0].columns.size(), 3u);
    EXPECT_EQ(back.tables[0].columns[0].precision, 18);
    EXPECT_EQ(back.tables[0].columns[0].scale, 4);
    EXPECT_TRUE(back.tables[0].columns[1].autoNumber);
    EXPECT_TRUE(back.tables[0].columns[2].calculated);
    EXPECT_EQ(back.queries.at(0).kind, QueryKind::Union);
    EXPECT_EQ(back.forms.at(0).type, -32768);
    EXPECT_EQ(back.others.at(0).name, "Linked");
    EXPECT_EQ(back.pages, catalogue.pages);

    // A cut payload is reported, never read past its end.
    wire::ByteReader cut(std::string_view(buffer).substr(0, buffer.size() - 3));
    EXPECT_THROW(wire::readCatalogue(cut), wire::MalformedFrame);
}

TEST(WireFormat, FramesArriveInPieces) {
    std::string stream;
    std::size_t start = wire::startFrame(stream, wire::FrameType::Rows);
    wire::ByteWriter out(stream);
    out.value(StoredValue::ofInteger(-5));
    out.value(StoredValue::null());
    out.value(StoredValue::ofReal(2.5));
    out.value(StoredValue::ofText("Zürich"));
    out.value(StoredValue::ofBlob(std::string_view("\0\1", 2)));
    wire::finishFrame(stream, start);
    start = wire::startFrame(stream, wire::FrameType::End);
    out.u64(1);
    wire::finishFrame(stream, start);

    wire::FrameParser parser;
    std::vector<wire::FrameType> seen;
    for (char c : stream) {
        parser.append(std::string_view(&c, 1));
        while (auto frame = parser.next()) {
            seen.push_back(frame->type);
            if (frame->type != wire::FrameType::Rows)
                continue;
            wire::ByteReader in(frame->payload);
            EXPECT_EQ(in.value().integer, -5);
            EXPECT_TRUE(in.value().isNull());
            EXPECT_EQ(in.value().real, 2.5);
            EXPECT_EQ(in.value().bytes, "Zürich");
            const StoredValue blob = in.value();
            EXPECT_EQ(blob.kind, StoredValue::Kind::Blob);
            EXPECT_EQ(blob.bytes.size(), 2u);
            EXPECT_TRUE(in.atEnd());
        }
    }
    EXPECT_EQ(seen, (std::vector{wire::FrameType::Rows, wire::FrameType::End}));
    EXPECT_FALSE(parser.next());
}

namespace {

// A stream of Rows frames of different sizes, each holding its own number.
std::string framesOf(const std::vector<std::size_t>& textSizes) {
    std::string stream;
    for (std::size_t i = 0; i < textSizes.size(); ++i) {
        const std::size_t start = wire::startFrame(stream, wire::FrameType::Rows);
        wire::ByteWriter out(stream);
        out.value(StoredValue::ofInteger(static_cast<std::int64_t>(i)));
        out.value(StoredValue::ofText(std::string(textSizes[i], static_cast<char>('a' + i % 26))));
        wire::finishFrame(stream, start);
    }
    return stream;
}

} // namespace

// Bytes read straight into the parser, as a pipe delivers them (at most
// `piece` at a time): every frame arrives whole, and the parser never asks
// for bytes past the frame that is arriving, so no frame is moved.
TEST(WireFormat, FramesReadStraightIntoTheParserArriveWhole) {
    const std::vector<std::size_t> sizes = {0, 3, 70000, 1, 300000, 5, 2 << 20};
    const std::string stream = framesOf(sizes);
    for (std::size_t piece :
         {std::size_t{1}, std::size_t{7}, std::size_t{4096}, std::size_t{1} << 22}) {
        wire::FrameParser parser;
        std::size_t at = 0;
        std::size_t frames = 0;
        std::size_t frameStart = 0;
        while (at < stream.size()) {
            const std::span<char> room = parser.space();
            ASSERT_FALSE(room.empty());
            std::uint32_t length = 0;
            std::memcpy(&length, stream.data() + frameStart + 1, sizeof length);
            EXPECT_LE(at + room.size(), frameStart + wire::frameHeaderSize + length)
                << "asked past the frame at " << frameStart;
            const std::size_t n = std::min({room.size(), piece, stream.size() - at});
            std::memcpy(room.data(), stream.data() + at, n);
            parser.received(n);
            at += n;
            while (const auto frame = parser.next()) {
                ASSERT_EQ(frame->type, wire::FrameType::Rows);
                wire::ByteReader in(frame->payload);
                EXPECT_EQ(in.value().integer, static_cast<std::int64_t>(frames));
                EXPECT_EQ(in.value().bytes,
                          std::string(sizes[frames], static_cast<char>('a' + frames % 26)));
                frameStart += wire::frameHeaderSize + frame->payload.size();
                ++frames;
            }
        }
        EXPECT_EQ(frames, sizes.size()) << "pieces of " << piece;
    }
}

// A garbled length from a damaged helper never makes the parser reserve
// gigabytes: it asks for the bytes in bounded pieces, as they arrive.
TEST(WireFormat, AGarbledFrameLengthReservesNoMoreThanArrives) {
    wire::FrameParser parser;
    const std::string header = std::string(1, 'R') + std::string(4, '\xff');
    parser.append(header);
    EXPECT_LE(parser.space().size(), std::size_t{1} << 20);
    EXPECT_FALSE(parser.next());
}
