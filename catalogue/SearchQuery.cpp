#include "catalogue/SearchQuery.h"

#include "catalogue/Dao.h"
#include "catalogue/DatasheetText.h"

namespace quarix::catalogue {

namespace {

QStringList currentRow(const Recordset& rs) {
    QStringList cells;
    cells.reserve(rs.FieldCount());
    for (int c = 0; c < rs.FieldCount(); ++c)
        cells << datasheetText(rs.Fields(c));
    return cells;
}

QStringList fieldNames(const Recordset& rs) {
    QStringList names;
    for (int c = 0; c < rs.FieldCount(); ++c)
        names << rs.FieldName(c);
    return names;
}

// The rows of an open record set, kept open (with its database) for as long
// as the grid shows them.
class RecordsetRows : public search::RowSource {
public:
    RecordsetRows(Database db, Recordset rs)
        : db_(std::move(db)), rs_(std::move(rs)), headers_(fieldNames(rs_)),
          count_(rs_.RecordCount()) {}
    ~RecordsetRows() override {
        rs_.Close();
        db_.Close();
    }
    QStringList headers() const override { return headers_; }
    long rowCount() const override { return count_; }
    std::vector<QStringList> rows(long first, long count) override {
        std::vector<QStringList> out;
        try {
            rs_.setAbsolutePosition(first);
            for (long i = 0; i < count && !rs_.EOF_(); ++i) {
                out.push_back(currentRow(rs_));
                rs_.MoveNext();
            }
        } catch (const EngineError&) {
            // A row the engine cannot give shows as empty cells.
        }
        return out;
    }

private:
    Database db_;
    Recordset rs_;
    QStringList headers_;
    long count_;
};

} // namespace

std::unique_ptr<search::RowSource> recordsetRows(Database db, Recordset rs) {
    return std::make_unique<RecordsetRows>(std::move(db), std::move(rs));
}

PageOfResults readResultPage(const QString& path, const QString& statement, long firstIndex,
                             int pageSize) {
    Database db = DBEngine::instance().Workspaces(0).OpenDatabase(path, false);
    Recordset rs = db.OpenRecordset(statement, dbOpenSnapshot);
    PageOfResults page;
    page.resultCount = rs.RecordCount();
    if (firstIndex < page.resultCount) {
        rs.Move(firstIndex);
        page.headers = fieldNames(rs);
        for (long row = 0; !rs.EOF_() && (pageSize <= 0 || row < pageSize); ++row) {
            page.rows.push_back(currentRow(rs));
            rs.MoveNext();
        }
    }
    rs.Close();
    db.Close();
    return page;
}

FilteredResults openFilteredResults(const QString& path, const QString& table,
                                    const QString& criterion) {
    Database db = DBEngine::instance().Workspaces(0).OpenDatabase(path, false);
    Recordset all = db.OpenRecordset(table, dbOpenSnapshot);
    all.Filter = criterion;
    Recordset filtered = all.OpenRecordset();
    all.Close();
    FilteredResults results;
    results.resultCount = filtered.RecordCount();
    results.rows = std::make_unique<RecordsetRows>(std::move(db), std::move(filtered));
    return results;
}

FilteredResults openStatementResults(const QString& path, const QString& statement) {
    Database db = DBEngine::instance().Workspaces(0).OpenDatabase(path, false);
    Recordset rs = db.OpenRecordset(statement, dbOpenSnapshot);
    FilteredResults results;
    results.resultCount = rs.RecordCount();
    results.rows = std::make_unique<RecordsetRows>(std::move(db), std::move(rs));
    return results;
}

} // namespace quarix::catalogue
