#pragma once

#include <QString>

#include <string>

namespace quarix::session {

// A file name, stored in a database, made safe to create inside a folder:
// separators, NUL and control characters become "_", a leading dot (".",
// "..", hidden files) gets a "_" in front, an empty name becomes
// "attachment", and a name longer than the system allows is shortened,
// keeping its extension.
QString safeAttachmentName(const std::string& stored);

struct WrittenAttachment {
    QString path;  // where it was written, or would have been
    QString error; // empty when written
};

// Writes an attachment's bytes as a new file in folder (created when
// missing), inside subfolder when one is given, under its safe name. Links
// below folder are never followed. A name already there is an error, unless
// the user chose to replace it (replaceExisting): then the bytes go to a new
// file beside it that takes its place once written whole, so a failed write
// leaves the old file as it was, and a link of that name is replaced, not
// followed. A private file is readable by its owner only. A file that
// cannot be written whole is removed again.
WrittenAttachment writeAttachment(const QString& folder, const QString& subfolder,
                                  const std::string& storedName, const std::string& bytes,
                                  bool privateFile = false, bool replaceExisting = false);

} // namespace quarix::session
