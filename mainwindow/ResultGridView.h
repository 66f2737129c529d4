#pragma once

#include <QTableView>

class QAction;
class ResultGridHeader;

// The result grid: a read-only table with the field names as its header row,
// the pointed cell's text as tooltip, and database files accepted as drops.
// The wheel moves the top row by a fixed step; a right click asks for the
// window's pop-up menu. Ctrl+C and the Copy command put the selected cells
// on the clipboard as tab-separated text; Tab moves on to the next control.
// Ctrl+A selects every cell, whatever menu item has the same shortcut.
// A double click or Enter on a cell asks to open it.
class ResultGridView : public QTableView {
    Q_OBJECT
public:
    explicit ResultGridView(QWidget* parent = nullptr);

    // The grid's text size in points; rows follow it.
    void setFontSize(double points);
    int TopRow() const;
    void setTopRow(int row);
    // While off, the wheel scrolls as a plain table does.
    void setWheelScrollEnabled(bool enabled) { wheelScrollEnabled_ = enabled; }
    // Copies the selected cells; the command the pop-up menu offers.
    QAction* copyAction() const { return copy_; }
    void copySelection();
    ResultGridHeader* header() const { return header_; }
    // The width a column needs to show its header whole beside the sort arrow.
    int headerWidthWithArrow(int column) const;

signals:
    void filesDropped(const QStringList& paths);
    void headerClicked(int column);
    void popupMenuRequested(const QPoint& globalPos);
    void cellOpened(const QModelIndex& cell);

protected:
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool wheelScrollEnabled_ = true;
    QAction* copy_ = nullptr;
    ResultGridHeader* header_ = nullptr;
};
