#include "engine/reader/WireFormat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

using namespace quarix::engine;

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
