#pragma once

#include "app/cli/CliOptions.h"

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace quarix::cli {

// One value as it is printed: its text and what it is in JSON.
struct Cell {
    enum class Kind { Null, Number, Boolean, String };
    std::string text;
    Kind kind = Kind::String;
};

// Rows to print, read one at a time so that big results stream.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual std::vector<std::string> columns() const = 0;
    virtual std::int64_t rowCount() const = 0;
    virtual std::vector<Cell> row(std::int64_t index) = 0;
};

// Rows held in memory (names, fields, values).
class ListSource : public RowSource {
public:
    explicit ListSource(std::vector<std::string> columns) : columns_(std::move(columns)) {}
    void add(std::vector<Cell> row) { rows_.push_back(std::move(row)); }
    std::vector<std::string> columns() const override { return columns_; }
    std::int64_t rowCount() const override { return static_cast<std::int64_t>(rows_.size()); }
    std::vector<Cell> row(std::int64_t index) override {
        return rows_[static_cast<std::size_t>(index)];
    }

private:
    std::vector<std::string> columns_;
    std::vector<std::vector<Cell>> rows_;
};

// One CSV field (RFC 4180): quoted when it holds a comma, a quote or a line
// break, and for the empty string, so that an empty field means Null.
std::string csvField(const Cell& cell);

void writeRows(std::ostream& out, RowSource& rows, Format format, std::int64_t first = 0,
               std::int64_t count = -1);

} // namespace quarix::cli
