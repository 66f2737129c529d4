#pragma once

#include <QHeaderView>
#include <QStyleOptionHeader>

// The result grid's header row. Its sort arrow points up for an ascending
// order and down for a descending one, whatever the style's own habit.
class ResultGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit ResultGridHeader(QWidget* parent = nullptr);

    // The arrow drawn on a section: none, up or down.
    QStyleOptionHeader::SortIndicator arrowOn(int logicalIndex) const;
    // The width that shows a section's text whole beside a sort arrow.
    int widthWithArrow(int logicalIndex) const;

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override;
};
