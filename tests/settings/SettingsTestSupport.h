#pragma once

#include "settings/SettingsEnvironment.h"
#include "tests/support/TestData.h"

#include <QByteArray>
#include <QFile>
#include <QMap>
#include <QString>

#include <filesystem>
#include <ostream>

// Readable values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes.toStdString() << '"';
}

namespace quarix::test {

inline QString qpath(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// An environment with exactly the given variables and no machine-wide
// folder unless one is named.
inline SettingsEnvironment fakeEnvironment(const QMap<QString, QString>& variables,
                                           const QString& machineFolder = {}) {
    SettingsEnvironment env;
    env.variable = [variables](const QString& name) { return variables.value(name); };
    env.machineFolder = machineFolder;
    return env;
}

// The machine-wide folder alone.
inline SettingsEnvironment sharedFolderEnvironment(const QString& folder) {
    return fakeEnvironment({{QStringLiteral("ALLUSERSPROFILE"), folder}});
}

// The machine-wide folder dir/all and the user's dir/user.
inline SettingsEnvironment twoFolderEnvironment(const std::filesystem::path& dir) {
    return fakeEnvironment({{QStringLiteral("ALLUSERSPROFILE"), qpath(dir / "all")},
                            {QStringLiteral("APPDATA"), qpath(dir / "user")}});
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

// A machine-wide folder that cannot be made: a file dir/blocker stands in its place.
inline SettingsEnvironment blockedEnvironment(const std::filesystem::path& dir) {
    writeBytes(qpath(dir / "blocker"), "not a folder");
    return sharedFolderEnvironment(qpath(dir / "blocker"));
}

} // namespace quarix::test
