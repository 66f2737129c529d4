#include "engine/reader/WireFormat.h"

#include <gtest/gtest.h>

using namespace quarix::engine;

TEST(WireFormat, CatalogueSurvivesTheRoundTrip) {
    Catalogue catalogue;
    catalogue.format = FileFormat::Ace;
    TableInfo table{"Order Details", 42, 0, false, 600, {}};
    table.columns.push_back({"Price", ColumnType::Decimal, 17, 18, 4, false, false});
    table.columns.push_back({"ID", ColumnType::Long, 4, 0, 0, true, false});
    table.columns.push_back({"Total", ColumnType::Double, 8, 0, 0, false, true});
    catalogue.tables.push_back(table);
    catalogue.queries.push_back({"Big Spenders", 7, 0x80, QueryKind::Union});
    catalogue.forms.push_back({"Main", -32768, 0});
    catalogue.others.push_back({"Linked", 6, 0});

    std::string buffer;
    wire::ByteWriter out(buffer);
    wire::writeCatalogue(out, catalogue);
    wire::ByteReader in(buffer);
    const Catalogue back = wire::readCatalogue(in);
    EXPECT_TRUE(in.atEnd());
    ASSERT_EQ(back.tables.size(), 1u);
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
