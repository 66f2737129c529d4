#include "session/AttachmentFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

namespace quarix::session {
namespace {

constexpr qsizetype kLongestName = 255; // bytes, as the file systems count them

// Closes a descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

QString systemReason() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

// The folder, opened as a folder; subfolders are never links.
int openFolder(int parent, const QByteArray& name, bool followLink) {
    if (::mkdirat(parent, name.constData(), 0777) != 0 && errno != EEXIST)
        return -1;
    return ::openat(parent, name.constData(),
                    O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

QString safeAttachmentName(const std::string& stored) {
    QString name = QString::fromUtf8(stored.data(), static_cast<qsizetype>(stored.size()));
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 0x20 ||
            c.unicode() == 0x7f)
            c = QLatin1Char('_');
    if (name.startsWith(QLatin1Char('.')))
        name.prepend(QLatin1Char('_'));
    if (name.isEmpty())
        name = QStringLiteral("attachment");
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString suffix = dot > 0 && name.size() - dot <= 16 ? name.mid(dot) : QString();
    QString base = name.left(name.size() - suffix.size());
    while ((base + suffix).toUtf8().size() > kLongestName)
        base.chop(base.size() > 1 && base.at(base.size() - 1).isLowSurrogate() ? 2 : 1);
    return base + suffix;
}

WrittenAttachment writeAttachment(const QString& folder, const QString& subfolder,
                                  const std::string& storedName, const std::string& bytes,
                                  bool privateFile, bool replaceExisting) {
    const QString name = safeAttachmentName(storedName);
    WrittenAttachment written;
    written.path =
        QDir(subfolder.isEmpty() ? folder : folder + QLatin1Char('/') + subfolder).filePath(name);
    const auto fail = [&](const QString& why) {
        written.error = QStringLiteral("cannot write '%1': %2").arg(written.path, why);
        return written;
    };
    // The folder is the caller's choice, link or not; nothing below it is.
    Descriptor top(openFolder(AT_FDCWD, QFile::encodeName(folder), true));
    if (top.get() < 0)
        return fail(systemReason());
    Descriptor inner(subfolder.isEmpty()
                         ? ::dup(top.get())
                         : openFolder(top.get(), QFile::encodeName(subfolder), false));
    if (inner.get() < 0)
        return fail(
            errno == ELOOP || errno == ENOTDIR
                ? QStringLiteral("'%1' is not a folder (links are not followed)").arg(subfolder)
                : systemReason());
    const QByteArray fileName = QFile::encodeName(name);
    const auto create = [&](const QByteArray& created) {
        return ::openat(inner.get(), created.constData(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        privateFile ? 0600 : 0666);
    };
    // A file to replace: the bytes go to a new hidden name beside it first.
    QByteArray writtenName = fileName;
    int created = create(fileName);
    for (int attempt = 0; created < 0 && errno == EEXIST && replaceExisting && attempt < 100;
         ++attempt) {
        writtenName = "." + fileName.left(200) + ".quarix-" +
                      QByteArray::number(QRandomGenerator::global()->generate(), 36);
        created = create(writtenName);
    }
    Descriptor file(created);
    if (file.get() < 0)
        return fail(errno == EEXIST ? QStringLiteral("a file of that name is already there; it "
                                                     "was not replaced")
                                    : systemReason());
    const bool whole =
        writeAll(file.get(), bytes) && ::close(file.release()) == 0 &&
        (writtenName == fileName ||
         ::renameat(inner.get(), writtenName.constData(), inner.get(), fileName.constData()) == 0);
    if (!whole) {
        const QString why = systemReason();
        ::unlinkat(inner.get(), writtenName.constData(), 0);
        return fail(why);
    }
    return written;
}

} // namespace quarix::session
