#include "search/ResultGridModel.h"

#include "search/GridSort.h"

namespace quarix::search {

ResultGridModel::ResultGridModel(QObject* parent) : QAbstractTableModel(parent) {}

ResultGridModel::~ResultGridModel() = default;

void ResultGridModel::replace(QStringList headers, long dataRows) {
    headers_ = std::move(headers);
    dataRows_ = dataRows;
    blocks_.clear();
    blockIndex_.clear();
}

void ResultGridModel::clearResults() {
    beginResetModel();
    source_.reset();
    rows_.clear();
    replace({}, 0);
    endResetModel();
}

void ResultGridModel::resetGrid() {
    beginResetModel();
    source_.reset();
    rows_.assign(1, QStringList{QString(), QString()});
    replace({QString(), QString()}, 1);
    endResetModel();
}

void ResultGridModel::setRows(const QStringList& headers, std::vector<QStringList> rows) {
    beginResetModel();
    source_.reset();
    for (QStringList& row : rows)
        while (row.size() < headers.size())
            row.append(QString());
    rows_ = std::move(rows);
    replace(headers, static_cast<long>(rows_.size()));
    endResetModel();
}

void ResultGridModel::setSource(std::unique_ptr<RowSource> source) {
    beginResetModel();
    rows_.clear();
    const long count = source ? source->rowCount() : 0;
    replace(source ? source->headers() : QStringList(), count);
    source_ = std::move(source);
    endResetModel();
}

const QStringList* ResultGridModel::cachedRow(long row) const {
    if (row < 0 || row >= dataRows_)
        return nullptr;
    if (!source_)
        return &rows_[static_cast<std::size_t>(row)];

    const long block = row / kBlockRows;
    auto found = blockIndex_.find(block);
    if (found == blockIndex_.end()) {
        if (paused_)
            return nullptr;
        const long first = block * kBlockRows;
        blocks_.emplace_front(block, source_->rows(first, std::min(kBlockRows, dataRows_ - first)));
        found = blockIndex_.emplace(block, blocks_.begin()).first;
        if (blocks_.size() > kBlocksKept) {
            blockIndex_.erase(blocks_.back().first);
            blocks_.pop_back();
        }
    } else if (found->second != blocks_.begin()) {
        blocks_.splice(blocks_.begin(), blocks_, found->second);
    }
    const auto& rows = found->second->second;
    const auto offset = static_cast<std::size_t>(row - block * kBlockRows);
    return offset < rows.size() ? &rows[offset] : nullptr;
}

void ResultGridModel::setReadsPaused(bool paused) {
    if (paused_ == paused)
        return;
    paused_ = paused;
    if (!paused && source_ && dataRows_ > 0 && !headers_.isEmpty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

bool ResultGridModel::sortByColumn(int column, bool ascending, long maxRowsRead) {
    if (column < 0 || column >= headers_.size())
        return true;
    if (source_) {
        if (dataRows_ > maxRowsRead || paused_)
            return false;
        std::vector<QStringList> all = source_->rows(0, dataRows_);
        // Rows the source could not give show empty, as they did before.
        all.resize(static_cast<std::size_t>(dataRows_));
        for (QStringList& row : all)
            while (row.size() < headers_.size())
                row.append(QString());
        emit layoutAboutToBeChanged();
        rows_ = std::move(all);
        source_.reset();
        blocks_.clear();
        blockIndex_.clear();
    } else {
        emit layoutAboutToBeChanged();
    }
    sortRowsByColumn(rows_, column, ascending);
    emit layoutChanged();
    return true;
}

QString ResultGridModel::TextMatrix(long row, int col) const {
    if (col < 0 || col >= headers_.size())
        return {};
    if (row == 0)
        return headers_[col];
    const QStringList* cells = cachedRow(row - 1);
    return cells && col < cells->size() ? (*cells)[col] : QString();
}

long ResultGridModel::tablePosition(long dataRow) const {
    const QStringList* cells = cachedRow(dataRow);
    return cells && cells->size() > headers_.size() ? (*cells)[headers_.size()].toLong() : 0;
}

int ResultGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(dataRows_);
}

int ResultGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ResultGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return TextMatrix(index.row() + 1, index.column());
}

QVariant ResultGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < headers_.size() ? QVariant(headers_[section]) : QVariant();
    return section + 1;
}

} // namespace quarix::search
