#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

// The settings folders' files, read and written so that no other user can
// turn Quarix's reads and writes elsewhere. In a folder other users can
// write to (the machine-wide one), a link is never followed, and Quarix
// changes only regular files with a single name that are the user's own
// (or root's, which no other user can plant). Everywhere, a file is read
// only up to the size asked for, and only when it is a regular file.
namespace guarded_file {

// True when users other than the folder's owner may create or replace
// files in it, or it belongs to another user (root aside).
bool folderOpenToOthers(const QString& folder);

// Why the file described by info must not be changed where it is; empty
// when it may. In a folder open to others it must be the user's own (or
// root's) and have no other name that could be someone else's file.
QString changeRefusal(const struct stat& info, bool openFolder);

struct Contents {
    QByteArray bytes;
    bool exists = false; // something is at the path
    QString problem;     // why what is there was not read; empty when read or missing
};

// The whole file, when it is a regular file of at most maxBytes.
Contents read(const QString& path, qint64 maxBytes);

// Replaces the file as a whole: a new file written beside it, flushed, and
// renamed over it, so it is never seen half written. A file of the user's
// keeps its permissions (but never lets everyone write in a folder open to
// others); a new one is made 0644. False, with a description in *error,
// when it cannot be written or must not be replaced.
bool replace(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// A descriptor to append to the existing regular file at path, or -1 with
// errno set (ENOENT when missing).
int openForAppend(const QString& path);

} // namespace guarded_file
