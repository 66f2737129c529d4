#include "mainwindow/ResultGridHeader.h"

#include <QStyle>

ResultGridHeader::ResultGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

QStyleOptionHeader::SortIndicator ResultGridHeader::arrowOn(int logicalIndex) const {
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    return option.sortIndicator;
}

void ResultGridHeader::initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const {
    QHeaderView::initStyleOptionForIndex(option, logicalIndex);
    if (!isSortIndicatorShown() || sortIndicatorSection() != logicalIndex)
        return;
    option->sortIndicator = sortIndicatorOrder() == Qt::AscendingOrder
                                ? QStyleOptionHeader::SortUp
                                : QStyleOptionHeader::SortDown;
}

int ResultGridHeader::widthWithArrow(int logicalIndex) const {
    if (!model())
        return 0;
    const QString text = model()->headerData(logicalIndex, orientation()).toString();
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const QFontMetrics metrics(font());
    // The arrow takes a square of the header's height and a margin of its own.
    return metrics.horizontalAdvance(text) + 4 * margin + metrics.height() + 8;
}
