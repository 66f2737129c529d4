#include "mainwindow/ResultGridView.h"

#include "platform/DroppedFiles.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>

ResultGridView::ResultGridView(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setAlternatingRowColors(true);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->setVisible(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

void ResultGridView::setFontSize(double points) {
    if (points <= 0)
        return;
    QFont f = font();
    f.setPointSizeF(points);
    setFont(f);
    horizontalHeader()->setFont(f);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 6);
}

int ResultGridView::TopRow() const { return rowAt(0) < 0 ? 0 : rowAt(0); }

void ResultGridView::setTopRow(int row) {
    if (model() && row >= 0 && row < model()->rowCount())
        scrollTo(model()->index(row, 0), QAbstractItemView::PositionAtTop);
}

void ResultGridView::dragEnterEvent(QDragEnterEvent* event) {
    if (!quarix::platform::droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void ResultGridView::dragMoveEvent(QDragMoveEvent* event) {
    if (!quarix::platform::droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void ResultGridView::dropEvent(QDropEvent* event) {
    const QStringList files = quarix::platform::droppedFiles(event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    emit filesDropped(files);
}
