#include "settings/SettingsLocation.h"

#include "settings/GuardedFile.h"
#include "settings/IniFile.h"
#include "settings/Windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString SettingsLocation::settingsFilePath() const {
    return ::settingsFilePath(SettingsFolder);
}

QString markerFilePath(const SettingsEnvironment& env) {
    return env.allUsersFolder() + QStringLiteral("TermServ");
}

namespace {

// The marker holds one line of switches; anything much longer is not one.
constexpr qint64 markerMaxBytes = 64 * 1024;

QString firstLine(const QString& path) {
    const QString text =
        settings_encoding::decodeFileText(guarded_file::read(path, markerMaxBytes).bytes);
    qsizetype end = 0;
    while (end < text.size() && text[end] != QLatin1Char('\r') && text[end] != QLatin1Char('\n'))
        ++end;
    return text.left(end);
}

} // namespace

SettingsLocation chooseSettingsLocation(const SettingsEnvironment& env) {
    SettingsLocation location;
    const QString marker = markerFilePath(env);
    if (QFileInfo(marker).isFile()) {
        location.TermServMode = true;
        location.TSParameters = firstLine(marker);
        location.TSLocked = true;
    }
    location.SettingsFolder = location.TermServMode ? env.perUserFolder() : env.allUsersFolder();
    return location;
}

bool writeMarkerFile(const SettingsEnvironment& env, const QString& parameters, QString* error) {
    const QString path = markerFilePath(env);
    QDir().mkpath(QFileInfo(path).absolutePath());
    return guarded_file::replace(path, parameters.toUtf8() + '\n', error);
}

bool deleteMarkerFile(const SettingsEnvironment& env, QString* error) {
    QFile file(markerFilePath(env));
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}
