#include "settings/IniDocument.h"

#include "settings/Windows1252.h"

namespace {

bool isSectionHeader(const QString& trimmed) {
    return trimmed.startsWith(QLatin1Char('['));
}

QString sectionName(const QString& trimmed) {
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    return trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

bool isComment(const QString& trimmed) {
    return trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'));
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool isQuote(QChar c) {
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

bool enclosedInQuotes(const QString& v) {
    return v.size() >= 2 && isQuote(v.front()) && v.back() == v.front();
}

QString unquoted(const QString& rawValue) {
    const QString v = rawValue.trimmed();
    return enclosedInQuotes(v) ? v.mid(1, v.size() - 2) : v;
}

QString quotedForWriting(QString value) {
    value.replace(QLatin1String("\r\n"), QLatin1String(" "));
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const bool losesEnds = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    if (losesEnds || enclosedInQuotes(value))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

} // namespace

IniDocument IniDocument::fromBytes(const QByteArray& bytes) {
    IniDocument doc;
    if (bytes.isEmpty())
        return doc;
    doc.m_utf8 = settings_encoding::isUtf8(bytes);
    QList<QByteArray> raws = bytes.split('\n');
    doc.m_finalNewline = raws.last().isEmpty();
    if (doc.m_finalNewline)
        raws.removeLast();
    doc.m_crlf = !raws.isEmpty() && raws.first().endsWith('\r');
    for (qsizetype i = 0; i < raws.size(); ++i) {
        QByteArray content = raws[i];
        if (content.endsWith('\r'))
            content.chop(1);
        if (i == 0 && doc.m_utf8 && content.startsWith("\xEF\xBB\xBF"))
            content.remove(0, 3);
        const QString text =
            doc.m_utf8 ? QString::fromUtf8(content) : settings_encoding::decodeWindows1252(content);
        doc.m_lines.append(Line{raws[i], text});
    }
    return doc;
}

QByteArray IniDocument::toBytes() const {
    QByteArray out;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        out += m_lines[i].raw;
        if (i + 1 < m_lines.size() || m_finalNewline)
            out += '\n';
    }
    return out;
}

IniDocument::Range IniDocument::findSection(const QString& section) const {
    Range range;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QString t = m_lines[i].text.trimmed();
        if (!isSectionHeader(t))
            continue;
        if (range.header >= 0) {
            range.end = i;
            return range;
        }
        if (sameName(sectionName(t), section.trimmed()))
            range.header = i;
    }
    range.end = m_lines.size();
    return range;
}

qsizetype IniDocument::findKey(const Range& range, const QString& key) const {
    if (range.header < 0)
        return -1;
    for (qsizetype i = range.header + 1; i < range.end; ++i) {
        const QString t = m_lines[i].text.trimmed();
        const qsizetype eq = t.indexOf(QLatin1Char('='));
        if (eq >= 0 && !isComment(t) && sameName(t.left(eq).trimmed(), key.trimmed()))
            return i;
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const qsizetype line = findKey(findSection(section), key);
    if (line < 0)
        return std::nullopt;
    const QString& text = m_lines[line].text;
    return unquoted(text.mid(text.indexOf(QLatin1Char('=')) + 1));
}

IniDocument::Line IniDocument::makeLine(const QString& text) const {
    QByteArray raw = m_utf8 ? text.toUtf8() : settings_encoding::encodeWindows1252(text);
    if (m_crlf)
        raw += '\r';
    return Line{raw, text};
}

void IniDocument::insertLine(qsizetype at, const QString& text) {
    if (at == m_lines.size())
        m_finalNewline = true;
    m_lines.insert(at, makeLine(text));
}

// A Windows-1252 file that is given a character outside the code page is
// turned into UTF-8 as a whole, which loses nothing.
void IniDocument::switchToUtf8() {
    m_utf8 = true;
    for (Line& line : m_lines)
        line = makeLine(line.text);
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QString written = quotedForWriting(value);
    if (!m_utf8 && settings_encoding::decodeWindows1252(
                       settings_encoding::encodeWindows1252(written)) != written)
        switchToUtf8();

    const Range range = findSection(section);
    const qsizetype line = findKey(range, key);
    if (range.header < 0) {
        if (!m_lines.isEmpty() && !m_lines.last().text.trimmed().isEmpty())
            insertLine(m_lines.size(), QString());
        insertLine(m_lines.size(), QLatin1Char('[') + section.trimmed() + QLatin1Char(']'));
        insertLine(m_lines.size(), key.trimmed() + QLatin1Char('=') + written);
    } else if (line >= 0) {
        const QString& old = m_lines[line].text;
        m_lines[line] = makeLine(old.left(old.indexOf(QLatin1Char('=')) + 1) + written);
    } else {
        // After the section's last entry: blank lines and comments before
        // the next section belong to that section.
        qsizetype at = range.header + 1;
        for (qsizetype i = range.header + 1; i < range.end; ++i) {
            const QString t = m_lines[i].text.trimmed();
            if (!t.isEmpty() && !isComment(t))
                at = i + 1;
        }
        insertLine(at, key.trimmed() + QLatin1Char('=') + written);
    }
    // A Windows-1252 file whose last bytes that were not UTF-8 were just
    // replaced would read as UTF-8 next time, and its other characters
    // would change ("Ã©" would read as "é"): it becomes UTF-8 now instead.
    if (!m_utf8 && settings_encoding::isUtf8(toBytes()))
        switchToUtf8();
}
