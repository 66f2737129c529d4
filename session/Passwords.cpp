#include "session/Passwords.h"

#include "engine/reader/FileLock.h"

#include <QFileInfo>

namespace quarix::session {

bool needsPassword(const QString& path) {
    return engine::probeFileLock(path.toStdString()).needsPassword();
}

engine::Secret passwordFrom(QByteArray& typed) {
    engine::Secret password(
        std::string_view(typed.constData(), static_cast<std::size_t>(typed.size())));
    engine::wipeBytes(typed.data(), static_cast<std::size_t>(typed.size()));
    typed.clear();
    return password;
}

QString passwordPromptText(const QString& path, bool wrongBefore) {
    const QString asked = QStringLiteral("'%1' is protected by a password.\nPassword:")
                              .arg(QFileInfo(path).fileName());
    return wrongBefore ? QStringLiteral("Not a valid password.\n\n") + asked : asked;
}

} // namespace quarix::session
