#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <list>
#include <memory>
#include <unordered_map>
#include <vector>

namespace quarix::search {

// Rows of a result that the grid reads on demand, a block at a time.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual QStringList headers() const = 0;
    virtual long rowCount() const = 0;
    // The display texts of rows [first, first + count). A row may hold one
    // cell past the headers: its position in the table it was read from.
    virtual std::vector<QStringList> rows(long first, long count) = 0;
};

// The result grid's cells: a fixed header row (the field names) and data
// rows that are either held in full (one page) or read lazily from a
// RowSource, so that a million-row result costs no more than what is shown.
// Row and column numbers of the Rows/Cols/TextMatrix accessors count the
// header as row 0, as the grid's users expect; the Qt model itself has only
// the data rows and shows the header through headerData().
class ResultGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr long kBlockRows = 256;
    static constexpr std::size_t kBlocksKept = 64;

    explicit ResultGridModel(QObject* parent = nullptr);
    ~ResultGridModel() override;

    // One header row and no columns: what a run starts from.
    void clearResults();
    // Two rows and two columns of empty cells: the look of a fresh grid.
    void resetGrid();
    // A page held in full; rows shorter than the header are padded.
    void setRows(const QStringList& headers, std::vector<QStringList> rows);
    // Every row of a source, read as the view asks for them.
    void setSource(std::unique_ptr<RowSource> source);

    // While paused, rows not read yet show empty and nothing is read from
    // the source (another job has the database); resuming repaints them.
    void setReadsPaused(bool paused);

    // Sorts the data rows by a column in the grid's generic order (see
    // GridSort.h). A lazily read result is read in full first, but only when
    // it has at most maxRowsRead rows: a bigger one is left as it is and
    // false is returned, so that the caller sorts it through the engine.
    bool sortByColumn(int column, bool ascending, long maxRowsRead);

    int Rows() const { return static_cast<int>(dataRows_ + 1); }
    int Cols() const { return headers_.size(); }
    QString TextMatrix(long row, int col) const;
    // The position in its table (from 1) of a data row (0-based), which
    // follows the row when it is sorted; 0 when the row does not know it.
    long tablePosition(long dataRow) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    const QStringList* cachedRow(long row) const;
    void replace(QStringList headers, long dataRows);

    QStringList headers_;
    long dataRows_ = 0;
    std::vector<QStringList> rows_; // held rows (no source)
    std::unique_ptr<RowSource> source_;
    bool paused_ = false;
    // Blocks read from the source, most recently used first.
    mutable std::list<std::pair<long, std::vector<QStringList>>> blocks_;
    mutable std::unordered_map<long, decltype(blocks_)::iterator> blockIndex_;
};

} // namespace quarix::search
