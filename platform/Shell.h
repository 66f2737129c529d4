#pragma once

#include <QString>
#include <QStringList>

namespace quarix::platform {

// Opening files, folders, web addresses and programs with the desktop's
// default handler; tests record instead of launching.
class Shell {
public:
    // True when the desktop accepted the request.
    static bool open(const QString& target);

    static void setTestMode(bool on);
    static const QStringList& opened();
};

} // namespace quarix::platform
