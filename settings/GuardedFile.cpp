#include "settings/GuardedFile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace guarded_file {
namespace {

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString folderOf(const QString& path) {
    return QFileInfo(path).absolutePath();
}

// Root's files are the administrator's; nobody else can make one.
bool trustedOwner(uid_t owner) {
    return owner == ::geteuid() || owner == 0;
}

QString failure(const QString& path, const QString& why) {
    return QStringLiteral("The file '%1' cannot be written: %2.").arg(path, why);
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

QString changeRefusal(const struct stat& info, bool openFolder) {
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("it is not a regular file");
    if (openFolder && !trustedOwner(info.st_uid))
        return QStringLiteral("it belongs to another user");
    if (openFolder && info.st_nlink > 1)
        return QStringLiteral("it has other names (hard links)");
    return {};
}

bool folderOpenToOthers(const QString& folder) {
    struct stat info {};
    if (::stat(native(folder).constData(), &info) != 0)
        return true; // unknown: assume the worst
    return (info.st_mode & (S_IWGRP | S_IWOTH)) != 0 || !trustedOwner(info.st_uid);
}

Contents read(const QString& path, qint64 maxBytes) {
    Contents contents;
    const bool openFolder = folderOpenToOthers(folderOf(path));
    const int fd = ::open(native(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK |
                                                        (openFolder ? O_NOFOLLOW : 0));
    if (fd < 0) {
        contents.exists = errno != ENOENT && errno != ENOTDIR;
        if (contents.exists)
            contents.problem =
                errno == ELOOP ? QStringLiteral("it is a link, which Quarix does not follow in a "
                                                "folder other users can write to")
                               : QString::fromLocal8Bit(std::strerror(errno));
        return contents;
    }
    contents.exists = true;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        contents.problem = QStringLiteral("it is not a regular file");
    } else if (info.st_size > maxBytes) {
        contents.problem = QStringLiteral("it is larger than %1 KB").arg(maxBytes / 1024);
    } else {
        // One byte more than allowed tells a file that grew meanwhile.
        contents.bytes.resize(maxBytes + 1);
        qint64 got = 0;
        while (got <= maxBytes) {
            const ssize_t n =
                ::read(fd, contents.bytes.data() + got, static_cast<size_t>(maxBytes + 1 - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                contents.problem = QString::fromLocal8Bit(std::strerror(errno));
            if (n <= 0)
                break;
            got += n;
        }
        contents.bytes.truncate(got);
        if (got > maxBytes)
            contents.problem = QStringLiteral("it is larger than %1 KB").arg(maxBytes / 1024);
        if (!contents.problem.isEmpty())
            contents.bytes.clear();
    }
    ::close(fd);
    return contents;
}

bool replace(const QString& path, const QByteArray& bytes, QString* error) {
    const auto fail = [&](const QString& why) {
        if (error)
            *error = failure(path, why);
        return false;
    };
    const bool openFolder = folderOpenToOthers(folderOf(path));
    QString target = path;
    mode_t mode = 0644;
    struct stat info {};
    if (::lstat(native(path).constData(), &info) == 0) {
        if (S_ISLNK(info.st_mode) && !openFolder) {
            // The user's own link: the file it leads to is the one to save.
            target = QFileInfo(path).canonicalFilePath();
            if (target.isEmpty() || ::stat(native(target).constData(), &info) != 0)
                return fail(QStringLiteral("it is a link to nothing"));
        } else if (S_ISLNK(info.st_mode)) {
            return fail(QStringLiteral("it is a link, which Quarix does not follow in a folder "
                                       "other users can write to"));
        }
        if (const QString why = changeRefusal(info, openFolder); !why.isEmpty())
            return fail(why);
        mode = info.st_mode & 07777;
        if (openFolder)
            mode &= ~static_cast<mode_t>(S_IWOTH);
    } else if (errno != ENOENT) {
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    }

    QByteArray temporary = native(folderOf(target) + QStringLiteral("/.") +
                                  QFileInfo(target).fileName() + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    const bool written = writeAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        ::unlink(temporary.constData());
        return fail(QString::fromLocal8Bit(std::strerror(written ? errno : writeError)));
    }
    if (::rename(temporary.constData(), native(target).constData()) != 0) {
        const int renameError = errno;
        ::unlink(temporary.constData());
        return fail(QString::fromLocal8Bit(std::strerror(renameError)));
    }
    return true;
}

int openForAppend(const QString& path) {
    const bool openFolder = folderOpenToOthers(folderOf(path));
    const int fd = ::open(native(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC | O_NOCTTY |
                                                        O_NONBLOCK | (openFolder ? O_NOFOLLOW : 0));
    if (fd < 0)
        return -1;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !changeRefusal(info, openFolder).isEmpty()) {
        ::close(fd);
        errno = EPERM;
        return -1;
    }
    return fd;
}

} // namespace guarded_file
