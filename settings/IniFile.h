#pragma once

#include "settings/IniDocument.h"
#include "settings/ShellOpen.h"

#include <QString>

// The settings file, read once when constructed and written back whole by
// save(). A missing or unreadable file reads as empty; one that is there but
// could not be read (too large, not a regular file, a link in a folder
// other users can write to) is never written over, so nothing in it is lost.
class IniFile {
public:
    // Reads return at most this many characters of a value.
    static constexpr qsizetype MaxValueLength = 99;
    // Far above what Quarix writes (a few KB): a larger file is not read.
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    IniFile() = default; // no file: every key reads ""
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }
    // Why the file that is there was not read; empty when it was, or is missing.
    const QString& problem() const { return m_problem; }

    // The value of key in section, cut to MaxValueLength characters; "" when
    // the section or key is missing.
    QString GetIniValue(const QString& section, const QString& key) const;
    // The whole value, however long.
    QString GetWholeIniValue(const QString& section, const QString& key) const;
    // Sets the value in memory; save() writes it.
    void SetIniValue(const QString& section, const QString& key, const QString& value);

    // Writes the file when something changed, through a temporary file
    // renamed over the old one, so the file is never left half written.
    // Creates the folder when missing. False when the file could not be
    // written, or must not be (see guarded_file::replace).
    bool save();

private:
    QString m_path;
    QString m_problem;
    IniDocument m_document;
    bool m_modified = false;
};

// The settings file in a settings folder (which ends in "/").
QString settingsFilePath(const QString& settingsFolder);

// Shows the settings file in the desktop's application for its type; false
// when nothing could open it.
bool OpenIniFile(const QString& settingsFolder, const ShellOpen& open);
