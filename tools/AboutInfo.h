#pragma once

#include "tools/Launcher.h"

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace quarix::tools {

// The program's title and version text (8.0.120).
QString programTitle();
QString versionText();

// The server the update check asks, as the build configured it; empty
// when none was.
QString configuredUpdateServer();

// The update check's address on a server: the update script and the
// program's name and version.
QString updateAddress(const QString& server);

// What the update check says when no server is configured.
QString whereNewVersionsComeFrom();

// The system information tool: the first found on the PATH.
std::optional<Launcher::Command> systemInfoTool();

// About box's "System Info...": starts the tool detached, or says
// "System Information Is Unavailable At This Time".
void StartSysInfo(QWidget* parent);

// Help > Check For Updates: opens the address in the browser, and
// "Error launching web update." when the desktop refuses; without a server
// it says where new versions come from.
void mnuupdates_Click(QWidget* parent, const QString& server = configuredUpdateServer());

// File > New Quarix: starts the running executable again, detached, with
// the switches in force. False when it could not be started.
bool mnuNew_Click(const QStringList& switches);

} // namespace quarix::tools
