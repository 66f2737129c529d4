#pragma once

#include "engine/StoredValue.h"
#include "engine/reader/Catalogue.h"
#include "engine/reader/TableDamage.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

// The helper process talks to its caller through frames on its standard
// output: a type byte, a 32-bit payload length, the payload. Numbers are
// little endian (both ends run on the same machine).
namespace quarix::engine::wire {

enum class FrameType : std::uint8_t {
    Catalogue = 'C', // a Catalogue
    Table = 'T',     // the TableInfo of the table being streamed
    Rows = 'R',      // u32 row count, then the rows' values
    End = 'E',       // u64 rows sent, then the TableDamage met; the helper then exits
    Error = 'X',     // i32 error number, then the message
};

constexpr std::size_t frameHeaderSize = 5;

struct MalformedFrame : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class ByteWriter {
public:
    explicit ByteWriter(std::string& out) : out_(out) {}
    void u8(std::uint8_t v) { out_.push_back(static_cast<char>(v)); }
    void u32(std::uint32_t v) { raw(&v, sizeof v); }
    void i32(std::int32_t v) { raw(&v, sizeof v); }
    void i64(std::int64_t v) { raw(&v, sizeof v); }
    void u64(std::uint64_t v) { raw(&v, sizeof v); }
    void f64(double v) { raw(&v, sizeof v); }
    void bytes(std::string_view v) {
        u32(static_cast<std::uint32_t>(v.size()));
        out_.append(v);
    }
    void value(const StoredValue& v) { values({&v, 1}); }
    // Inline, and the buffer grown once: the helper encodes every row here.
    void values(std::span<const StoredValue> row) {
        std::size_t size = 0;
        for (const StoredValue& v : row)
            size += encodedSize(v);
        const std::size_t at = out_.size();
        out_.resize(at + size);
        char* p = out_.data() + at;
        for (const StoredValue& v : row)
            p = encode(v, p);
    }
    std::string& buffer() { return out_; }

private:
    static bool sized(const StoredValue& v) {
        return v.kind == StoredValue::Kind::Text || v.kind == StoredValue::Kind::Blob;
    }
    static std::size_t encodedSize(const StoredValue& v) {
        if (sized(v))
            return 5 + v.bytes.size();
        return v.kind == StoredValue::Kind::Null ? 1 : 9;
    }
    static char* encode(const StoredValue& v, char* p) {
        *p++ = static_cast<char>(v.kind);
        if (v.kind == StoredValue::Kind::Integer) {
            std::memcpy(p, &v.integer, 8);
            return p + 8;
        }
        if (v.kind == StoredValue::Kind::Real) {
            std::memcpy(p, &v.real, 8);
            return p + 8;
        }
        if (!sized(v))
            return p;
        const auto size = static_cast<std::uint32_t>(v.bytes.size());
        std::memcpy(p, &size, 4);
        std::memcpy(p + 4, v.bytes.data(), v.bytes.size());
        return p + 4 + v.bytes.size();
    }
    void raw(const void* p, std::size_t n) { out_.append(static_cast<const char*>(p), n); }
    std::string& out_;
};

class ByteReader {
public:
    explicit ByteReader(std::string_view in) : in_(in) {}
    std::uint8_t u8() { return static_cast<std::uint8_t>(take(1)[0]); }
    std::uint32_t u32() { return get<std::uint32_t>(); }
    std::int32_t i32() { return get<std::int32_t>(); }
    std::int64_t i64() { return get<std::int64_t>(); }
    std::uint64_t u64() { return get<std::uint64_t>(); }
    double f64() { return get<double>(); }
    std::string_view bytes() { return take(u32()); }
    std::string text() { return std::string(bytes()); }
    StoredValue value() {
        // Inline: the cache load decodes every value of a table here.
        switch (static_cast<StoredValue::Kind>(u8())) {
        case StoredValue::Kind::Null:
            return StoredValue::null();
        case StoredValue::Kind::Integer:
            return StoredValue::ofInteger(i64());
        case StoredValue::Kind::Real:
            return StoredValue::ofReal(f64());
        case StoredValue::Kind::Text:
            return StoredValue::ofText(bytes());
        case StoredValue::Kind::Blob:
            return StoredValue::ofBlob(bytes());
        }
        throw MalformedFrame("unknown value kind");
    }
    bool atEnd() const { return in_.empty(); }

private:
    std::string_view take(std::size_t n) {
        if (n > in_.size())
            throw MalformedFrame("truncated frame");
        const std::string_view part = in_.substr(0, n);
        in_.remove_prefix(n);
        return part;
    }
    template <typename T> T get() {
        T v;
        std::memcpy(&v, take(sizeof v).data(), sizeof v);
        return v;
    }
    std::string_view in_;
};

// Raised whenever what writeCatalogue writes changes: cache files keep
// catalogues in this form between runs.
constexpr int catalogueLayout = 1;
void writeCatalogue(ByteWriter& out, const Catalogue& catalogue);
Catalogue readCatalogue(ByteReader& in);
void writeTableInfo(ByteWriter& out, const TableInfo& table);
TableInfo readTableInfo(ByteReader& in);
void writeDamage(ByteWriter& out, const TableDamage& damage);
TableDamage readDamage(ByteReader& in);

// Starts a frame in buffer; finishFrame fills in its length.
std::size_t startFrame(std::string& buffer, FrameType type);
void finishFrame(std::string& buffer, std::size_t frameStart);

struct Frame {
    FrameType type;
    std::string_view payload;
};

// Cuts complete frames out of a byte stream that arrives in pieces. The
// bytes are read straight into its buffer (space, then received), as many
// at a time as complete the frame that is arriving, so that frames are
// neither copied nor moved on their way.
class FrameParser {
public:
    // Where the next bytes go: never empty, at most what completes the
    // current frame's header or payload (and at most 1 MiB, so that a
    // garbled length never reserves more than arrives).
    std::span<char> space();
    // n bytes were written at the start of space().
    void received(std::size_t n) { size_ += n; }
    // Copies bytes in, in pieces of any size.
    void append(std::string_view bytes);
    // The next complete frame, valid until the next call of space() or
    // append(); nothing when more bytes are needed.
    std::optional<Frame> next();

private:
    void reserve(std::size_t bytes);
    // The bytes that complete the first frame not complete yet (at least 1).
    std::size_t missing() const;

    std::unique_ptr<char[]> buffer_; // not zeroed: every byte used is received first
    std::size_t capacity_ = 0;
    std::size_t size_ = 0;     // bytes held
    std::size_t consumed_ = 0; // bytes of frames already returned
};

} // namespace quarix::engine::wire
