#pragma once

#include <QString>

#include <functional>

// Where the program finds its folders and names, read through one seam so
// tests can point every variable at temporary folders. Folders end in "/".
struct SettingsEnvironment {
    // The value of an environment variable; "" when it is not set.
    std::function<QString(const QString& name)> variable;
    // The machine-wide folder every user can write, used when it has been set
    // up (see the README) and ALLUSERSPROFILE is not set.
    QString machineFolder = QStringLiteral("/var/lib/quarix");

    // The process environment and the real machine-wide folder.
    static SettingsEnvironment system();

    // Shared by all users: ALLUSERSPROFILE, else the machine-wide folder when
    // it exists and can be written, else the user's own data folder.
    QString allUsersFolder() const;
    // One user's: APPDATA, else the user's configuration folder.
    QString perUserFolder() const;

    // TEMP, USERNAME and COMPUTERNAME, else the system's own.
    QString tempFolder() const;
    QString userName() const;
    QString computerName() const;

private:
    QString home() const;
    bool machineFolderUsable() const;
};
