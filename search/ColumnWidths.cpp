#include "search/ColumnWidths.h"

#include "search/GridSort.h"
#include "search/ResultGridModel.h"

#include <algorithm>
#include <cmath>

namespace quarix::search {

namespace {
constexpr double kMeasuredPoints = 6.5;
constexpr double kEvenWidthMargin = 500;

// Nearest whole number with halves to the even neighbour (the default
// floating-point rounding mode).
int roundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}
} // namespace

QString widestSampledText(const ResultGridModel& grid, int column, long rowsAtEachEnd) {
    const long rows = grid.Rows();
    QString longest;
    bool numbers = rows > 1;
    const auto measure = [&](long r) {
        QString text = grid.TextMatrix(r, column).trimmed();
        if (r > 0 && !text.isEmpty() && !readsAsNumber(text))
            numbers = false;
        if (text.size() > longest.size())
            longest = std::move(text);
    };
    const long head = std::min(rows, rowsAtEachEnd + 1);
    for (long r = 0; r < head; ++r)
        measure(r);
    for (long r = std::max(head, rows - rowsAtEachEnd); r < rows; ++r)
        measure(r);
    const auto digits = static_cast<qsizetype>(QString::number(rows - 1).size());
    if (numbers && longest.size() < digits)
        return QString(digits, QLatin1Char('0'));
    return longest;
}

int autoFitColumnWidth(double measuredWidth, double gridFontSize) {
    return roundHalfEven(std::floor(measuredWidth) * gridFontSize / kMeasuredPoints);
}

int evenColumnWidth(double gridWidth, int columns) {
    if (columns <= 0)
        return 0;
    return roundHalfEven((gridWidth - kEvenWidthMargin) / columns);
}

} // namespace quarix::search
