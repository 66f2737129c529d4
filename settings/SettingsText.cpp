#include "settings/SettingsText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace settings_text {

double leadingNumber(const QString& text) {
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    bool digits = false;
    while (end < t.size() && t[end].isDigit()) {
        ++end;
        digits = true;
    }
    if (end < t.size() && t[end] == QLatin1Char('.')) {
        ++end;
        while (end < t.size() && t[end].isDigit()) {
            ++end;
            digits = true;
        }
    }
    return digits ? t.left(end).toDouble() : 0.0;
}

qint32 leadingWholeNumber(const QString& text) {
    const double rounded = std::nearbyint(leadingNumber(text));
    return static_cast<qint32>(std::clamp<double>(rounded, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

std::optional<double> number(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<qint32> wholeNumber(const QString& text) {
    const auto value = number(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value); // default mode: halves to even
    if (rounded < std::numeric_limits<qint32>::min() ||
        rounded > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

std::optional<bool> boolean(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (const auto value = number(t))
        return *value != 0.0;
    return std::nullopt;
}

QString booleanText(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

namespace {

// How many UTF-16 units the first `count` characters of text take.
qsizetype unitsOf(const QString& text, qsizetype from, qsizetype count) {
    qsizetype i = from;
    for (qsizetype n = 0; n < count && i < text.size(); ++n)
        i += (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                                : 1;
    return i - from;
}

} // namespace

QString leftChars(const QString& text, qsizetype count) {
    return text.left(unitsOf(text, 0, count));
}

QString midChars(const QString& text, qsizetype start, qsizetype count) {
    const qsizetype from = unitsOf(text, 0, start);
    return text.mid(from, unitsOf(text, from, count));
}

QStringList splitLongValue(const QString& text, qsizetype pieceLength, int pieces) {
    QStringList result;
    for (int i = 0; i < pieces; ++i)
        result << midChars(text, i * pieceLength, pieceLength);
    return result;
}

} // namespace settings_text
