#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Conversions between settings-file text and the values the program holds,
// with the same leniency the settings file has always been read with.
namespace settings_text {

// The number at the start of a text: leading blanks skipped, then an
// optional sign, digits and a decimal part; 0 when there is none.
double leadingNumber(const QString& text);
// leadingNumber rounded to a whole number (halves to even), held within
// the 32-bit range.
qint32 leadingWholeNumber(const QString& text);

// A whole number from a text that must be a number as a whole (blanks
// around it allowed); halves round to even. Empty when it is not a number
// or does not fit in 32 bits.
std::optional<qint32> wholeNumber(const QString& text);

// Any number from a text that must be a number as a whole.
std::optional<double> number(const QString& text);

// "True"/"False" in any case, or a number (0 false, anything else true).
std::optional<bool> boolean(const QString& text);

// How booleans are written: "True" or "False".
QString booleanText(bool value);

// The first `count` characters of a text, counting a character outside the
// basic plane as one, so that a cut never splits it.
QString leftChars(const QString& text, qsizetype count);
QString midChars(const QString& text, qsizetype start, qsizetype count);

// A long value split into `pieces` pieces of `pieceLength` characters each
// (the last ones empty when the text is short); characters beyond what the
// pieces hold are dropped.
QStringList splitLongValue(const QString& text, qsizetype pieceLength, int pieces);

} // namespace settings_text
