#include "settings/SearchLog.h"

#include "settings/GuardedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <unistd.h>

namespace {

QString csvField(const QString& value) {
    const bool needsQuotes = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
                             value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'));
    if (!needsQuotes)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The time of day without a time-zone name, which some locales' long
// format carries.
QString timeText(const QTime& time, const QLocale& locale) {
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return locale.toString(time, format.trimmed());
}

bool appendTo(const QString& file, const QByteArray& bytes) {
    const int fd = guarded_file::openForAppend(file);
    if (fd < 0)
        return false;
    // One write() per line, so a line appended by another instance at the
    // same moment lands before or after it, never inside.
    const bool ok = ::write(fd, bytes.constData(), size_t(bytes.size())) == ssize_t(bytes.size());
    return ::close(fd) == 0 && ok;
}

// A new log is written in full under a temporary name and then linked into
// place, so no other instance ever sees it without its header. Others may
// read it, never write it. 0 when done, else the error number.
int createWith(const QString& path, const QByteArray& bytes) {
    QTemporaryFile temporary(path + QStringLiteral(".XXXXXX"));
    if (!temporary.open() || temporary.write(bytes) != bytes.size() || !temporary.flush())
        return EIO;
    temporary.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                             QFileDevice::ReadGroup | QFileDevice::ReadOther);
    if (::link(QFile::encodeName(temporary.fileName()).constData(),
               QFile::encodeName(path).constData()) == 0)
        return 0;
    return errno;
}

bool appendLine(const QString& path, const QString& line) {
    const QByteArray bytes = line.toUtf8() + "\r\n";
    if (appendTo(path, bytes))
        return true;
    if (errno != ENOENT)
        return false;
    const int created = createWith(path, kSearchLogHeader.toUtf8() + "\r\n" + bytes);
    // EEXIST: another instance created it first, so append as usual.
    return created == 0 || (created == EEXIST && appendTo(path, bytes));
}

} // namespace

QString searchLogPath(const SettingsEnvironment& env) {
    return env.allUsersFolder() + QStringLiteral("quarix_log.csv");
}

QString searchLogLine(const SearchLogEntry& e, const QDateTime& now, const QLocale& locale,
                      const QString& user, const QString& computer) {
    const QStringList fields = {
        locale.toString(now.date(), QLocale::ShortFormat),
        timeText(now.time(), locale),
        e.database,
        e.table,
        e.field,
        e.criterion,
        QString::number(e.results),
        e.seconds,
        user,
        computer,
        e.paged ? QStringLiteral("Paged") : QStringLiteral("Not Paged"),
        e.paged ? QString::number(e.maxResults) : QString(),
        e.paged ? QStringLiteral("Page %1").arg(e.currentPage + 1) : QString(),
    };
    QStringList quoted;
    for (const QString& f : fields)
        quoted << csvField(f);
    return quoted.join(QLatin1Char(','));
}

bool WriteSearchLog(const SettingsValues& values, const SettingsEnvironment& env,
                    const SearchLogEntry& entry,
                    const std::function<void(const QString&)>& showMessage) {
    if (!values.WriteLog)
        return true;
    const QString path = searchLogPath(env);
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString line = searchLogLine(entry, QDateTime::currentDateTime(), QLocale::system(),
                                       env.userName(), env.computerName());
    if (appendLine(path, line))
        return true;
    if (showMessage)
        showMessage(kSearchLogWriteFailed);
    return false;
}

bool openSearchLog(const SettingsEnvironment& env, const ShellOpen& open) {
    const QString path = searchLogPath(env);
    return QFileInfo(path).isFile() && open && open(path);
}
