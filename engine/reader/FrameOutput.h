#pragma once

#include "engine/reader/WireFormat.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>

namespace quarix::engine {

// The helper's side of the pipe: frames collected in a buffer and written
// in large pieces. Rows are batched into Rows frames that are sent when
// they grow large or a little time has passed, so the caller sees steady
// progress.
class FrameOutput {
public:
    explicit FrameOutput(int fd) : fd_(fd) { buffer_.reserve(2 * 1024 * 1024); }

    void catalogue(const Catalogue& catalogue);
    void table(const TableInfo& table);
    void row(std::span<const StoredValue> values);
    void end(std::uint64_t rows, const TableDamage& damage = {});
    void error(int number, const std::string& message);
    void flush();

private:
    void closeRows();

    int fd_;
    std::string buffer_;
    std::size_t rowsFrame_ = std::string::npos;
    std::uint32_t rowsInFrame_ = 0;
    std::chrono::steady_clock::time_point lastFlush_ = std::chrono::steady_clock::now();
};

} // namespace quarix::engine
