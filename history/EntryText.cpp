#include "history/EntryText.h"

namespace quarix::history {

QStringList splitEntry(const QString& entry, int count) {
    QStringList parts = entry.split(kEntrySeparator);
    while (parts.size() < count)
        parts << QString();
    return parts.mid(0, count);
}

} // namespace quarix::history
