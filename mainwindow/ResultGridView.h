#pragma once

#include <QTableView>

// The result grid: a read-only table with the field names as its header row,
// the selected cell's text as tooltip, and database files accepted as drops.
class ResultGridView : public QTableView {
    Q_OBJECT
public:
    explicit ResultGridView(QWidget* parent = nullptr);

    // The grid's text size in points; rows follow it.
    void setFontSize(double points);
    int TopRow() const;
    void setTopRow(int row);

signals:
    void filesDropped(const QStringList& paths);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
};
