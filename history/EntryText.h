#pragma once

#include <QString>
#include <QStringList>

namespace quarix::history {

// Stored searches keep their parts in one text joined by " | ".
inline const QString kEntrySeparator = QStringLiteral(" | ");

inline QString joinEntry(const QStringList& parts) {
    return parts.join(kEntrySeparator);
}

// The first count parts of an entry split at every " | "; missing parts
// are empty, parts beyond count are dropped.
QStringList splitEntry(const QString& entry, int count);

} // namespace quarix::history
