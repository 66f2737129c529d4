#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace quarix::test {

// "-2x" when screenshots are taken at double scaling, so that both sets of
// pictures can stand side by side.
inline QString screenshotSuffix() {
    return qEnvironmentVariable("QUARIX_SCREENSHOT_SCALE") == QStringLiteral("2")
               ? QStringLiteral("-2x")
               : QString();
}

// Where a screenshot test saves its picture: the folder that
// scripts/take-screenshots names, or else a scratch folder, so that the
// drawing is exercised on every run.
inline QString screenshotFolder() {
    const QString named = qEnvironmentVariable("QUARIX_SCREENSHOT_DIR");
    if (!named.isEmpty()) {
        QDir().mkpath(named);
        return named;
    }
    static QTemporaryDir scratch;
    return scratch.path();
}

} // namespace quarix::test
