#pragma once

#include "engine/crypto/Secret.h"

#include <QByteArray>
#include <QString>

namespace quarix::session {

// Access's number for a missing or wrong password.
constexpr int kNotAValidPassword = 3031;

// Whether opening the file takes its password (its first page says so).
bool needsPassword(const QString& path);

// A password as the user typed it (UTF-8), as the engine takes it; the
// typed bytes are overwritten.
engine::Secret passwordFrom(QByteArray& typed);

// What the prompt asks, the first time and after a wrong password.
QString passwordPromptText(const QString& path, bool wrongBefore);
inline const QString kPasswordPromptTitle = QStringLiteral("Quarix - Password Required");

} // namespace quarix::session
