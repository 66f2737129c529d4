#include "mainwindow/ResultGridView.h"

#include "mainwindow/ResultGridHeader.h"
#include "platform/Clipboard.h"
#include "platform/DroppedFiles.h"
#include "search/TabSeparatedText.h"
#include "search/WheelScroll.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

ResultGridView::ResultGridView(QWidget* parent) : QTableView(parent) {
    header_ = new ResultGridHeader(this);
    setHorizontalHeader(header_);
    setTabKeyNavigation(false);
    connect(this, &QAbstractItemView::doubleClicked, this, &ResultGridView::cellOpened);
    copy_ = new QAction(QStringLiteral("&Copy"), this);
    copy_->setObjectName(QStringLiteral("mnuCopyCells"));
    copy_->setShortcut(QKeySequence::Copy);
    copy_->setShortcutContext(Qt::WidgetShortcut);
    addAction(copy_);
    connect(copy_, &QAction::triggered, this, &ResultGridView::copySelection);
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
    horizontalHeader()->setSectionsClickable(true);
    // The last column takes the rest of the width, so no bare strip remains.
    horizontalHeader()->setStretchLastSection(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ResultGridView::headerClicked);
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

int ResultGridView::TopRow() const {
    return rowAt(0) < 0 ? 0 : rowAt(0);
}

void ResultGridView::setTopRow(int row) {
    // Scrolling by whole rows, the scroll bar's value is the top row; the
    // bar stops at the last screenful by itself.
    if (model() && row >= 0 && row < model()->rowCount())
        verticalScrollBar()->setValue(row);
}

bool ResultGridView::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::SelectAll)) {
        event->accept(); // the grid's own key: keyPressEvent selects all
        return true;
    }
    return QTableView::event(event);
}

void ResultGridView::wheelEvent(QWheelEvent* event) {
    const QPoint angle = event->angleDelta();
    const bool sideways = angle.y() == 0 && angle.x() != 0;
    // Touchpads open and close a scroll with empty events: they are no wheel turns.
    const bool gestureEdge = angle.isNull() && event->phase() != Qt::NoScrollPhase;
    if (!wheelScrollEnabled_ || sideways || gestureEdge || !model()) {
        QTableView::wheelEvent(event);
        return;
    }
    setTopRow(quarix::search::topRowAfterWheel(TopRow(), angle.y(), model()->rowCount()));
    event->accept();
}

void ResultGridView::copySelection() {
    if (!model() || !selectionModel())
        return;
    // The selection is one rectangle; without one, the current cell is copied.
    // Ranges, not cells: a whole million-row result may be selected.
    const QItemSelection ranges = selectionModel()->selection();
    QModelIndex topLeft = currentIndex();
    QModelIndex bottomRight = topLeft;
    if (!ranges.isEmpty()) {
        int top = ranges.first().top(), bottom = ranges.first().bottom();
        int left = ranges.first().left(), right = ranges.first().right();
        for (const QItemSelectionRange& range : ranges) {
            top = std::min(top, range.top());
            bottom = std::max(bottom, range.bottom());
            left = std::min(left, range.left());
            right = std::max(right, range.right());
        }
        topLeft = model()->index(top, left);
        bottomRight = model()->index(bottom, right);
    }
    if (!topLeft.isValid())
        return;
    quarix::platform::Clipboard::setText(quarix::search::tabSeparatedText(
        *model(), topLeft.row(), topLeft.column(), bottomRight.row(), bottomRight.column()));
}

int ResultGridView::headerWidthWithArrow(int column) const {
    return header_->widthWithArrow(column);
}

void ResultGridView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        emit cellOpened(currentIndex());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ResultGridView::contextMenuEvent(QContextMenuEvent* event) {
    emit popupMenuRequested(event->globalPos());
    event->accept();
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
