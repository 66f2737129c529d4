#include "app/cli/ResultCells.h"

namespace quarix::cli {

using engine::ColumnType;
using Kind = engine::StoredValue::Kind;

namespace {

Cell::Kind kindOf(ColumnType type, Kind kind) {
    if (kind == Kind::Null)
        return Cell::Kind::Null;
    const engine::ColumnTypeTraits& traits = engine::traitsOf(type);
    if (traits.cell == engine::CellKind::Boolean)
        return Cell::Kind::Boolean;
    // JSON has no date; dates stay in the text the table shows.
    if (traits.typeClass == engine::TypeClass::Date)
        return Cell::Kind::String;
    if (kind == Kind::Integer || kind == Kind::Real || traits.cell == engine::CellKind::Number)
        return Cell::Kind::Number;
    return Cell::Kind::String;
}

} // namespace

std::vector<std::string> ResultCells::columns() const {
    std::vector<std::string> names;
    for (const auto& c : result_->columns())
        names.push_back(c.name);
    return names;
}

std::vector<Cell> ResultCells::row(std::int64_t index) {
    const auto& values = result_->row(index);
    const auto& columns = result_->columns();
    std::vector<Cell> cells;
    cells.reserve(values.size());
    for (std::size_t c = 0; c < values.size(); ++c) {
        const ColumnType type = c < columns.size() ? columns[c].type : ColumnType::Unknown;
        cells.push_back({result_->text(c, values[c]), kindOf(type, values[c].kind)});
    }
    return cells;
}

} // namespace quarix::cli
