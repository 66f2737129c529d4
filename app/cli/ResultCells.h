#pragma once

#include "app/cli/ResultWriter.h"
#include "engine/cache/ResultSet.h"

#include <memory>

namespace quarix::cli {

// The rows of a result as quarix-cli prints them: each value as the window
// shows it, and what it is in JSON.
class ResultCells : public RowSource {
public:
    explicit ResultCells(std::shared_ptr<engine::ResultSet> result) : result_(std::move(result)) {}
    std::vector<std::string> columns() const override;
    std::int64_t rowCount() const override { return result_->rowCount(); }
    std::vector<Cell> row(std::int64_t index) override;

private:
    std::shared_ptr<engine::ResultSet> result_;
};

} // namespace quarix::cli
