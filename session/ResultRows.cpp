#include "session/ResultRows.h"

#include "engine/EngineError.h"

#include <algorithm>

namespace quarix::session {

namespace {

class LazyResultRows : public search::RowSource {
public:
    explicit LazyResultRows(std::shared_ptr<engine::ResultSet> result)
        : result_(std::move(result)), headers_(columnNames(*result_)) {}
    QStringList headers() const override { return headers_; }
    long rowCount() const override { return static_cast<long>(result_->rowCount()); }
    std::vector<QStringList> rows(long first, long count) override {
        try {
            return displayRows(*result_, first, count);
        } catch (const engine::EngineError&) {
            return {}; // rows the cache cannot give show as empty cells
        }
    }

private:
    std::shared_ptr<engine::ResultSet> result_;
    QStringList headers_;
};

} // namespace

QStringList columnNames(const engine::ResultSet& result) {
    QStringList names;
    for (const auto& column : result.columns())
        names << QString::fromStdString(column.name);
    return names;
}

QList<int> complexColumns(const engine::ResultSet& result) {
    QList<int> columns;
    for (std::size_t c = 0; c < result.columns().size(); ++c)
        if (result.columns()[c].type == engine::ColumnType::Complex)
            columns << static_cast<int>(c);
    return columns;
}

std::vector<QStringList> displayRows(engine::ResultSet& result, long first, long count) {
    const bool withPosition =
        std::any_of(result.columns().begin(), result.columns().end(),
                    [](const auto& column) { return column.type == engine::ColumnType::Complex; });
    std::vector<QStringList> rows;
    const long last = std::min<long>(static_cast<long>(result.rowCount()), first + count);
    for (long row = std::max(first, 0L); row < last; ++row) {
        const auto& values = result.row(row);
        QStringList cells;
        cells.reserve(static_cast<qsizetype>(values.size() + 1));
        for (std::size_t c = 0; c < values.size(); ++c)
            cells << QString::fromStdString(result.text(c, values[c]));
        if (withPosition)
            if (const auto position = result.sourceRow(row))
                cells << QString::number(*position);
        rows.push_back(std::move(cells));
    }
    return rows;
}

std::unique_ptr<search::RowSource> resultRows(std::shared_ptr<engine::ResultSet> result) {
    return std::make_unique<LazyResultRows>(std::move(result));
}

} // namespace quarix::session
