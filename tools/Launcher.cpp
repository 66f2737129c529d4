#include "tools/Launcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

#include <vector>

namespace quarix::tools {

namespace {

struct TestState {
    bool on = false;
    std::map<QString, QString> executables;
    std::map<QString, QString> applications;
    std::vector<Launcher::Command> started;
};

TestState& testState() {
    static TestState state;
    return state;
}

// The first desktop entry named for the type in one of the [sections] of a
// mimeapps.list, defaults.list or mimeinfo.cache file.
QString entryInFile(const QString& file, const QString& mimeType, const QStringList& sections) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QTextStream in(&f);
    QString section;
    const QString key = mimeType + QLatin1Char('=');
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            section = line;
            continue;
        }
        if (sections.contains(section) && line.startsWith(key)) {
            const QString first = line.mid(key.size()).section(QLatin1Char(';'), 0, 0).trimmed();
            if (!first.isEmpty())
                return first;
        }
    }
    return {};
}

// The desktop's association files in the order the XDG rules consult them.
QString associationFromFiles(const QString& mimeType) {
    const QStringList defaults{QStringLiteral("[Default Applications]")};
    const QStringList added{QStringLiteral("[Added Associations]")};
    QStringList lists;
    lists << QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        lists << dir + QStringLiteral("/applications");
    for (const QString& dir : lists) {
        for (const QString& name :
             {QStringLiteral("mimeapps.list"), QStringLiteral("defaults.list")}) {
            QString entry = entryInFile(dir + QLatin1Char('/') + name, mimeType, defaults);
            if (entry.isEmpty())
                entry = entryInFile(dir + QLatin1Char('/') + name, mimeType, added);
            if (!entry.isEmpty())
                return entry;
        }
    }
    for (const QString& dir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        const QString entry = entryInFile(dir + QStringLiteral("/applications/mimeinfo.cache"),
                                          mimeType, {QStringLiteral("[MIME Cache]")});
        if (!entry.isEmpty())
            return entry;
    }
    return {};
}

} // namespace

std::optional<QString> Launcher::findExecutable(const QString& name) {
    if (testState().on) {
        const auto found = testState().executables.find(name);
        if (found == testState().executables.end())
            return std::nullopt;
        return found->second;
    }
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo info(name);
        if (info.isFile() && info.isExecutable())
            return info.absoluteFilePath();
        return std::nullopt;
    }
    const QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

QString Launcher::defaultApplicationForType(const QString& mimeType) {
    if (testState().on) {
        const auto found = testState().applications.find(mimeType);
        return found == testState().applications.end() ? QString() : found->second;
    }
    if (const auto xdgMime = findExecutable(QStringLiteral("xdg-mime"))) {
        QProcess query;
        query.start(*xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
        if (query.waitForFinished(5000) && query.exitCode() == 0)
            return QString::fromUtf8(query.readAllStandardOutput()).trimmed();
        return {};
    }
    return associationFromFiles(mimeType);
}

QString Launcher::defaultApplicationFor(const QString& path) {
    // Access files: the desktop's type database may not know .accdb at all,
    // and applications register under several names.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("mdb") || suffix == QStringLiteral("accdb")) {
        for (const char* name :
             {"application/x-msaccess", "application/vnd.ms-access", "application/msaccess"}) {
            const QString entry = defaultApplicationForType(QString::fromLatin1(name));
            if (!entry.isEmpty())
                return entry;
        }
    }
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    QString entry = defaultApplicationForType(type.name());
    // An association may be registered under a parent type only.
    for (const QString& parent : type.parentMimeTypes()) {
        if (!entry.isEmpty())
            break;
        if (parent != QStringLiteral("application/octet-stream") &&
            parent != QStringLiteral("application/zip"))
            entry = defaultApplicationForType(parent);
    }
    return entry;
}

bool Launcher::startDetached(const QString& program, const QStringList& arguments) {
    if (testState().on) {
        testState().started.push_back({program, arguments});
        return true;
    }
    return QProcess::startDetached(program, arguments, QDir::homePath());
}

void Launcher::setTestMode(bool on) {
    testState() = TestState{};
    testState().on = on;
}

void Launcher::setTestExecutables(std::map<QString, QString> executables) {
    testState().executables = std::move(executables);
}

void Launcher::setTestDefaultApplications(std::map<QString, QString> applications) {
    testState().applications = std::move(applications);
}

const std::vector<Launcher::Command>& Launcher::started() {
    return testState().started;
}

} // namespace quarix::tools
