#include "session/SheetName.h"

namespace quarix::session {

namespace {
constexpr int kMaxSheetNameLength = 31;
}

bool isValidSheetName(const QString& name) {
    if (name.isEmpty() || name.size() > kMaxSheetNameLength)
        return false;
    for (const QChar c : name) {
        if (QStringLiteral(":\\/?*[]").contains(c))
            return false;
    }
    if (name.startsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char('\'')))
        return false;
    return name.compare(QStringLiteral("History"), Qt::CaseInsensitive) != 0;
}

QString continuationSheetName(const QString& firstName, int sheetNumber) {
    if (!isValidSheetName(firstName))
        return {};
    const QString suffix = QStringLiteral(" (%1)").arg(sheetNumber);
    QString base = firstName.left(kMaxSheetNameLength - suffix.size()).trimmed();
    while (base.endsWith(QLatin1Char('\'')))
        base.chop(1);
    return base.isEmpty() ? QString() : base + suffix;
}

} // namespace quarix::session
