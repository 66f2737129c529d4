#include "mainwindow/WholeEntries.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>

int wholeEntriesWidth(const QAbstractItemView* list) {
    const int entries =
        list->model() && list->model()->rowCount() > 0 ? list->sizeHintForColumn(0) : 0;
    return entries + 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width();
}

namespace {

void fitListToEntries(QComboBox* box) {
    box->view()->setMinimumWidth(wholeEntriesWidth(box->view()));
}

} // namespace

void showWholeEntries(QComboBox* box) {
    box->view()->setTextElideMode(Qt::ElideNone);
    QAbstractItemModel* model = box->model();
    const auto refit = [box] { fitListToEntries(box); };
    QObject::connect(model, &QAbstractItemModel::rowsInserted, box, refit);
    QObject::connect(model, &QAbstractItemModel::rowsRemoved, box, refit);
    QObject::connect(model, &QAbstractItemModel::modelReset, box, refit);
    QObject::connect(model, &QAbstractItemModel::dataChanged, box, refit);
    fitListToEntries(box);
}
