#include "engine/reader/WireFormat.h"

#include <algorithm>
#include <cstring>

namespace quarix::engine::wire {

void writeTableInfo(ByteWriter& out, const TableInfo& table) {
    out.bytes(table.name);
    out.i32(table.id);
    out.i32(table.flags);
    out.u8(table.system ? 1 : 0);
    out.u32(table.rowEstimate);
    out.u32(static_cast<std::uint32_t>(table.columns.size()));
    for (const ColumnInfo& c : table.columns) {
        out.bytes(c.name);
        out.u8(static_cast<std::uint8_t>(c.type));
        out.i32(c.size);
        out.i32(c.precision);
        out.i32(c.scale);
        out.u8(static_cast<std::uint8_t>((c.autoNumber ? 1 : 0) | (c.calculated ? 2 : 0)));
    }
    out.u8(static_cast<std::uint8_t>(table.link.kind));
    out.bytes(table.link.database);
    out.bytes(table.link.foreignName);
    out.bytes(table.link.connect);
}

TableInfo readTableInfo(ByteReader& in) {
    TableInfo table;
    table.name = in.text();
    table.id = in.i32();
    table.flags = in.i32();
    table.system = in.u8() != 0;
    table.rowEstimate = in.u32();
    const std::uint32_t count = in.u32();
    for (std::uint32_t i = 0; i < count; ++i) {
        ColumnInfo c;
        c.name = in.text();
        const std::uint8_t type = in.u8();
        c.type = type <= static_cast<std::uint8_t>(ColumnType::Unknown)
                     ? static_cast<ColumnType>(type)
                     : ColumnType::Unknown;
        c.size = in.i32();
        c.precision = in.i32();
        c.scale = in.i32();
        const std::uint8_t flags = in.u8();
        c.autoNumber = (flags & 1) != 0;
        c.calculated = (flags & 2) != 0;
        table.columns.push_back(std::move(c));
    }
    const std::uint8_t link = in.u8();
    if (link > static_cast<std::uint8_t>(LinkKind::Odbc))
        throw MalformedFrame("unknown link kind");
    table.link.kind = static_cast<LinkKind>(link);
    table.link.database = in.text();
    table.link.foreignName = in.text();
    table.link.connect = in.text();
    return table;
}

void writeDamage(ByteWriter& out, const TableDamage& damage) {
    out.u64(damage.rows);
    out.u64(damage.pages);
    out.u64(damage.values);
}

TableDamage readDamage(ByteReader& in) {
    TableDamage damage;
    damage.rows = in.u64();
    damage.pages = in.u64();
    damage.values = in.u64();
    return damage;
}

namespace {

void writeObjects(ByteWriter& out, const std::vector<ObjectInfo>& objects) {
    out.u32(static_cast<std::uint32_t>(objects.size()));
    for (const ObjectInfo& o : objects) {
        out.bytes(o.name);
        out.i32(o.type);
        out.i32(o.flags);
    }
}

std::vector<ObjectInfo> readObjects(ByteReader& in) {
    std::vector<ObjectInfo> objects(in.u32());
    for (ObjectInfo& o : objects) {
        o.name = in.text();
        o.type = in.i32();
        o.flags = in.i32();
    }
    return objects;
}

} // namespace

void writeCatalogue(ByteWriter& out, const Catalogue& catalogue) {
    out.u8(static_cast<std::uint8_t>(catalogue.format));
    out.u32(static_cast<std::uint32_t>(catalogue.tables.size()));
    for (const TableInfo& t : catalogue.tables)
        writeTableInfo(out, t);
    out.u32(static_cast<std::uint32_t>(catalogue.queries.size()));
    for (const QueryInfo& q : catalogue.queries) {
        out.bytes(q.name);
        out.i32(q.id);
        out.i32(q.flags);
        out.u8(static_cast<std::uint8_t>(q.kind));
    }
    writeObjects(out, catalogue.forms);
    writeObjects(out, catalogue.reports);
    writeObjects(out, catalogue.others);
    out.u32(static_cast<std::uint32_t>(catalogue.pages.size()));
    for (const std::uint32_t page : catalogue.pages)
        out.u32(page);
}

Catalogue readCatalogue(ByteReader& in) {
    Catalogue catalogue;
    const std::uint8_t format = in.u8();
    if (format > static_cast<std::uint8_t>(FileFormat::Ace))
        throw MalformedFrame("unknown file format");
    catalogue.format = static_cast<FileFormat>(format);
    const std::uint32_t tables = in.u32();
    for (std::uint32_t i = 0; i < tables; ++i)
        catalogue.tables.push_back(readTableInfo(in));
    const std::uint32_t queries = in.u32();
    for (std::uint32_t i = 0; i < queries; ++i) {
        QueryInfo q;
        q.name = in.text();
        q.id = in.i32();
        q.flags = in.i32();
        const std::uint8_t kind = in.u8();
        q.kind = kind <= static_cast<std::uint8_t>(QueryKind::Unknown)
                     ? static_cast<QueryKind>(kind)
                     : QueryKind::Unknown;
        catalogue.queries.push_back(std::move(q));
    }
    catalogue.forms = readObjects(in);
    catalogue.reports = readObjects(in);
    catalogue.others = readObjects(in);
    const std::uint32_t pages = in.u32();
    for (std::uint32_t i = 0; i < pages; ++i)
        catalogue.pages.push_back(in.u32());
    return catalogue;
}

std::size_t startFrame(std::string& buffer, FrameType type) {
    const std::size_t start = buffer.size();
    buffer.push_back(static_cast<char>(type));
    buffer.append(4, '\0');
    return start;
}

void finishFrame(std::string& buffer, std::size_t frameStart) {
    const auto length = static_cast<std::uint32_t>(buffer.size() - frameStart - frameHeaderSize);
    std::memcpy(buffer.data() + frameStart + 1, &length, sizeof length);
}

void FrameParser::reserve(std::size_t bytes) {
    if (bytes <= capacity_)
        return;
    const std::size_t capacity = std::max(bytes, capacity_ * 2);
    auto grown = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0)
        std::memcpy(grown.get(), buffer_.get(), size_);
    buffer_ = std::move(grown);
    capacity_ = capacity;
}

std::size_t FrameParser::missing() const {
    std::size_t at = consumed_;
    for (;;) {
        const std::size_t held = size_ - at;
        if (held < frameHeaderSize)
            return frameHeaderSize - held;
        std::uint32_t length = 0;
        std::memcpy(&length, buffer_.get() + at + 1, sizeof length);
        if (held - frameHeaderSize < length)
            return frameHeaderSize + length - held;
        at += frameHeaderSize + length;
    }
}

std::span<char> FrameParser::space() {
    constexpr std::size_t mostAtOnce = 1 << 20;
    if (consumed_ == size_) {
        consumed_ = size_ = 0;
    } else if (consumed_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + consumed_, size_ - consumed_);
        size_ -= consumed_;
        consumed_ = 0;
    }
    const std::size_t wanted = std::min(missing(), mostAtOnce);
    reserve(size_ + wanted); // after the compaction above, the frame starts the buffer
    return {buffer_.get() + size_, wanted};
}

void FrameParser::append(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::span<char> room = space();
        const std::size_t n = std::min(room.size(), bytes.size());
        std::memcpy(room.data(), bytes.data(), n);
        received(n);
        bytes.remove_prefix(n);
    }
}

std::optional<Frame> FrameParser::next() {
    const std::size_t available = size_ - consumed_;
    if (available < frameHeaderSize)
        return std::nullopt;
    const char* start = buffer_.get() + consumed_;
    std::uint32_t length = 0;
    std::memcpy(&length, start + 1, sizeof length);
    if (available - frameHeaderSize < length)
        return std::nullopt;
    const Frame frame{static_cast<FrameType>(start[0]),
                      std::string_view(start + frameHeaderSize, length)};
    consumed_ += frameHeaderSize + length;
    return frame;
}

} // namespace quarix::engine::wire
