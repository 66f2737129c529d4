#include "fuzz/QueryRowsCodec.h"

#include <algorithm>
#include <optional>

namespace quarix::fuzz {
namespace {

class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool byte(std::uint8_t& out) {
        if (at_ >= bytes_.size())
            return false;
        out = bytes_[at_++];
        return true;
    }

    bool text(std::optional<std::string>& out) {
        std::uint8_t low = 0, high = 0;
        if (!byte(low) || !byte(high))
            return false;
        const std::size_t length = low | (high << 8);
        if (bytes_.size() - at_ < length)
            return false;
        out = std::string(reinterpret_cast<const char*>(bytes_.data() + at_), length);
        at_ += length;
        return true;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

void putText(std::string& out, const std::optional<std::string>& text) {
    if (!text)
        return;
    const std::size_t length = std::min<std::size_t>(text->size(), 0xFFFF);
    out += static_cast<char>(length & 0xFF);
    out += static_cast<char>(length >> 8);
    out.append(*text, 0, length);
}

} // namespace

EncodedQuery decodeQueryRows(std::span<const std::uint8_t> bytes) {
    EncodedQuery query;
    Cursor in(bytes);
    std::uint8_t kind = 0;
    if (!in.byte(kind))
        return query;
    query.kind = kind % 10;
    for (;;) {
        std::uint8_t attribute = 0, flag = 0, order = 0, extra = 0, present = 0;
        if (!in.byte(attribute) || !in.byte(flag) || !in.byte(order) || !in.byte(extra) ||
            !in.byte(present))
            return query;
        engine::MSysQueryRow row;
        row.attribute = attribute;
        row.flag = flag;
        row.order = order;
        row.extra = extra;
        row.objectId = 1;
        if (((present & 1) && !in.text(row.expression)) || ((present & 2) && !in.text(row.name1)) ||
            ((present & 4) && !in.text(row.name2)))
            return query;
        query.rows.push_back(std::move(row));
    }
}

std::string encodeQueryRows(const EncodedQuery& query) {
    std::string out(1, static_cast<char>(query.kind));
    for (const engine::MSysQueryRow& row : query.rows) {
        for (const int value : {row.attribute, row.flag, row.order, static_cast<int>(row.extra)})
            out += static_cast<char>(value & 0xFF);
        out +=
            static_cast<char>((row.expression ? 1 : 0) | (row.name1 ? 2 : 0) | (row.name2 ? 4 : 0));
        putText(out, row.expression);
        putText(out, row.name1);
        putText(out, row.name2);
    }
    return out;
}

} // namespace quarix::fuzz
