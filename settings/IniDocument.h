#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// An INI file held as its lines, read and changed the way Windows profile
// files are: section and key names match in any case, the first of
// repeated sections or keys counts, values are trimmed and lose enclosing
// quotes. A change rewrites only the line of its key (or adds lines), so
// order, comments, blank lines, line ends and text encoding stay as they
// were.
class IniDocument {
public:
    static IniDocument fromBytes(const QByteArray& bytes);
    QByteArray toBytes() const;

    // The whole value, not cut to any length; empty when the section or key
    // is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Sets a value, adding the key at the end of its section, or the section
    // at the end of the file, when missing. Line breaks in the value become
    // blanks so the file keeps one entry per line; a value that would lose
    // blanks or quotes at its ends when read is written in double quotes.
    void setValue(const QString& section, const QString& key, const QString& value);

private:
    struct Line {
        QByteArray raw; // as in the file, without the "\n"
        QString text;   // decoded, without a trailing "\r"
    };
    struct Range {
        qsizetype header = -1; // line of "[section]", -1 when missing
        qsizetype end = 0;     // first line after the section
    };

    Range findSection(const QString& section) const;
    qsizetype findKey(const Range& range, const QString& key) const;
    Line makeLine(const QString& text) const;
    void insertLine(qsizetype at, const QString& text);
    void switchToUtf8();

    QList<Line> m_lines;
    bool m_utf8 = true;
    bool m_crlf = false;
    bool m_finalNewline = true;
};
