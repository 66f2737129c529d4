#include "settings/SettingsEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

QString asFolder(const QString& path) {
    if (path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

QString loginName() {
    if (const passwd* entry = ::getpwuid(::getuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return QString();
}

} // namespace

SettingsEnvironment SettingsEnvironment::system() {
    SettingsEnvironment env;
    env.variable = [](const QString& name) {
        return qEnvironmentVariable(name.toLocal8Bit().constData());
    };
    return env;
}

QString SettingsEnvironment::home() const {
    const QString h = variable(QStringLiteral("HOME"));
    return h.isEmpty() ? QDir::homePath() : h;
}

bool SettingsEnvironment::machineFolderUsable() const {
    const QFileInfo info(machineFolder);
    return !machineFolder.isEmpty() && info.isDir() && info.isWritable();
}

QString SettingsEnvironment::allUsersFolder() const {
    const QString all = variable(QStringLiteral("ALLUSERSPROFILE"));
    if (!all.isEmpty())
        return asFolder(all);
    if (machineFolderUsable())
        return asFolder(machineFolder);
    const QString data = variable(QStringLiteral("XDG_DATA_HOME"));
    return asFolder((data.isEmpty() ? home() + QStringLiteral("/.local/share") : data) +
                    QStringLiteral("/quarix"));
}

QString SettingsEnvironment::perUserFolder() const {
    const QString appData = variable(QStringLiteral("APPDATA"));
    if (!appData.isEmpty())
        return asFolder(appData);
    const QString config = variable(QStringLiteral("XDG_CONFIG_HOME"));
    return asFolder((config.isEmpty() ? home() + QStringLiteral("/.config") : config) +
                    QStringLiteral("/quarix"));
}

QString SettingsEnvironment::tempFolder() const {
    const QString temp = variable(QStringLiteral("TEMP"));
    return asFolder(temp.isEmpty() ? QDir::tempPath() : temp);
}

QString SettingsEnvironment::userName() const {
    const QString name = variable(QStringLiteral("USERNAME"));
    return name.isEmpty() ? loginName() : name;
}

QString SettingsEnvironment::computerName() const {
    const QString name = variable(QStringLiteral("COMPUTERNAME"));
    return name.isEmpty() ? QSysInfo::machineHostName() : name;
}
