#pragma once

#include <QComboBox>
#include <QStringList>

namespace quarix::test {

// The entries a combo box lists, in order.
inline QStringList entries(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace quarix::test
