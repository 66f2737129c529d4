#pragma once

#include <QByteArray>
#include <QString>

// Text of the settings, marker and log files. Files written on Windows are
// in its Western code page; files written here are UTF-8. A file is read as
// UTF-8 when it is valid UTF-8, else as Windows-1252.
namespace settings_encoding {

bool isUtf8(const QByteArray& bytes);
QString decodeWindows1252(const QByteArray& bytes);
// Characters the code page lacks become "?", as Windows writes them.
QByteArray encodeWindows1252(const QString& text);

// UTF-8 (a leading byte-order mark dropped) when valid, else Windows-1252.
QString decodeFileText(const QByteArray& bytes);

} // namespace settings_encoding
