#pragma once

#include <QString>
#include <QStringList>

#include <map>
#include <optional>
#include <vector>

namespace quarix::tools {

// Starting other programs on a Linux desktop: finding them on the PATH,
// asking which application the desktop has for a file type, and starting
// them detached (their exit is never awaited). The Shell seam in platform/
// opens files and addresses; this adds what it lacks. In test mode nothing
// is started: every command is recorded, and the PATH and the desktop's
// associations are answered from tables the test fills.
class Launcher {
public:
    struct Command {
        QString program;
        QStringList arguments;
        bool operator==(const Command&) const = default;
    };

    // The full path of an executable found on the PATH (or the path itself
    // when it names an executable file); nothing when there is none.
    static std::optional<QString> findExecutable(const QString& name);

    // The desktop entry (such as "libreoffice-calc.desktop") that opens
    // files of this MIME type; empty when the desktop has none.
    static QString defaultApplicationForType(const QString& mimeType);
    // The same for a file, its type taken from its name and contents.
    static QString defaultApplicationFor(const QString& path);

    // Starts a program detached; false when it could not be started.
    static bool startDetached(const QString& program, const QStringList& arguments = {});

    static void setTestMode(bool on);
    // Test mode: the executables "on the PATH" (name -> full path).
    static void setTestExecutables(std::map<QString, QString> executables);
    // Test mode: the desktop's default applications (MIME type -> entry).
    static void setTestDefaultApplications(std::map<QString, QString> applications);
    static const std::vector<Command>& started();
};

} // namespace quarix::tools
