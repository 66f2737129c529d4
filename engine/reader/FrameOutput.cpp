#include "engine/reader/FrameOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace quarix::engine {
namespace {

constexpr std::size_t flushSize = 256 * 1024;
constexpr auto flushInterval = std::chrono::milliseconds(200);

} // namespace

void FrameOutput::catalogue(const Catalogue& catalogue) {
    closeRows();
    const std::size_t start = wire::startFrame(buffer_, wire::FrameType::Catalogue);
    wire::ByteWriter out(buffer_);
    wire::writeCatalogue(out, catalogue);
    wire::finishFrame(buffer_, start);
}

void FrameOutput::table(const TableInfo& table) {
    closeRows();
    const std::size_t start = wire::startFrame(buffer_, wire::FrameType::Table);
    wire::ByteWriter out(buffer_);
    wire::writeTableInfo(out, table);
    wire::finishFrame(buffer_, start);
    flush();
}

void FrameOutput::row(std::span<const StoredValue> values) {
    if (rowsFrame_ == std::string::npos) {
        rowsFrame_ = wire::startFrame(buffer_, wire::FrameType::Rows);
        buffer_.append(4, '\0');
        rowsInFrame_ = 0;
    }
    wire::ByteWriter(buffer_).values(values);
    ++rowsInFrame_;
    if (buffer_.size() >= flushSize ||
        ((rowsInFrame_ & 0xff) == 0 &&
         std::chrono::steady_clock::now() - lastFlush_ >= flushInterval))
        flush();
}

void FrameOutput::closeRows() {
    if (rowsFrame_ == std::string::npos)
        return;
    std::memcpy(buffer_.data() + rowsFrame_ + wire::frameHeaderSize, &rowsInFrame_,
                sizeof rowsInFrame_);
    wire::finishFrame(buffer_, rowsFrame_);
    rowsFrame_ = std::string::npos;
}

void FrameOutput::end(std::uint64_t rows, const TableDamage& damage) {
    closeRows();
    const std::size_t start = wire::startFrame(buffer_, wire::FrameType::End);
    wire::ByteWriter out(buffer_);
    out.u64(rows);
    wire::writeDamage(out, damage);
    wire::finishFrame(buffer_, start);
    flush();
}

void FrameOutput::error(int number, const std::string& message) {
    // Rows already batched are sent first, so the caller keeps them.
    closeRows();
    const std::size_t start = wire::startFrame(buffer_, wire::FrameType::Error);
    wire::ByteWriter out(buffer_);
    out.i32(number);
    out.bytes(message);
    wire::finishFrame(buffer_, start);
    flush();
}

void FrameOutput::flush() {
    closeRows();
    const char* p = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            std::_Exit(2); // the caller has gone: nothing left to do
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    buffer_.clear();
    lastFlush_ = std::chrono::steady_clock::now();
}

} // namespace quarix::engine
