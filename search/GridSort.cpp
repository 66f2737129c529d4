#include "search/GridSort.h"

#include <QLocale>

#include <algorithm>
#include <numeric>

namespace quarix::search {

HeaderSort decideHeaderSort(const HeaderClick& click) {
    HeaderSort sort;
    sort.sortClause = QLatin1Char('[') + click.headerText + QLatin1Char(']');
    sort.direction = click.direction;
    if (!click.databaseOpen)
        return sort;
    sort.sortGrid = true;
    sort.ascending = click.direction != SortDirection::Ascending;
    sort.direction = sort.ascending ? SortDirection::Ascending : SortDirection::Descending;
    sort.sortClause += sort.ascending ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    sort.rerun = click.pagedMode && click.maxResultsWhole != 0;
    return sort;
}

bool readsAsNumber(const QString& cell, double* value) {
    const QString text = cell.trimmed();
    if (text.isEmpty())
        return false;
    bool ok = false;
    double number = QLocale::c().toDouble(text, &ok);
    if (!ok)
        number = QLocale::system().toDouble(text, &ok);
    if (ok && value)
        *value = number;
    return ok;
}

namespace {

// A cell reduced to what the generic order compares.
struct SortKey {
    int kind = 0; // 0 empty, 1 number, 2 text
    double number = 0;
    // Whole numbers also compare exactly: 64-bit ones differ past a double's
    // 53 bits.
    bool whole = false;
    qlonglong integer = 0;
    QString text;
};

SortKey keyOf(const QString& cell) {
    SortKey key;
    if (cell.isEmpty())
        return key;
    if (readsAsNumber(cell, &key.number)) {
        key.kind = 1;
        key.integer = cell.trimmed().toLongLong(&key.whole);
        return key;
    }
    key.kind = 2;
    key.text = cell;
    return key;
}

int compareKeys(const SortKey& a, const SortKey& b) {
    if (a.kind != b.kind)
        return a.kind < b.kind ? -1 : 1;
    if (a.kind == 1 && a.whole && b.whole)
        return a.integer < b.integer ? -1 : (b.integer < a.integer ? 1 : 0);
    if (a.kind == 1)
        return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
    if (a.kind == 2) {
        const int folded = a.text.compare(b.text, Qt::CaseInsensitive);
        return folded != 0 ? folded : a.text.compare(b.text, Qt::CaseSensitive);
    }
    return 0;
}

} // namespace

int compareCells(const QString& a, const QString& b) {
    return compareKeys(keyOf(a), keyOf(b));
}

void sortRowsByColumn(std::vector<QStringList>& rows, int column, bool ascending) {
    // Each cell is read once; the rows themselves are moved only at the end.
    std::vector<SortKey> keys;
    keys.reserve(rows.size());
    for (const QStringList& row : rows)
        keys.push_back(keyOf(column >= 0 && column < row.size() ? row[column] : QString()));
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        const int c = compareKeys(keys[x], keys[y]);
        return ascending ? c < 0 : c > 0;
    });
    std::vector<QStringList> sorted;
    sorted.reserve(rows.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(rows[i]));
    rows = std::move(sorted);
}

std::optional<SortIndicator> sortIndicatorFor(const QString& sortClause,
                                              const QStringList& headers) {
    const qsizetype close = sortClause.lastIndexOf(QLatin1Char(']'));
    if (!sortClause.startsWith(QLatin1Char('[')) || close < 0)
        return std::nullopt;
    const int column = static_cast<int>(headers.indexOf(sortClause.mid(1, close - 1)));
    if (column < 0)
        return std::nullopt;
    const QString direction = sortClause.mid(close + 1).trimmed();
    return SortIndicator{column,
                         direction.compare(QStringLiteral("DESC"), Qt::CaseInsensitive) != 0};
}

} // namespace quarix::search
