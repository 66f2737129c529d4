#pragma once

#include "tools/Launcher.h"

#include <QString>

#include <optional>

class QWidget;

namespace quarix::tools {

// The program's title and version text (8.0.120).
QString programTitle();
QString versionText();

// The update check's address: the maker's server, the update script and
// the program's name and version.
QString updateAddress();

// The system information tool: the first found on the PATH.
std::optional<Launcher::Command> systemInfoTool();

// About box's "System Info...": starts the tool detached, or says
// "System Information Is Unavailable At This Time".
void StartSysInfo(QWidget* parent);

// Help > Check For Updates: opens the address in the browser;
// "Error launching web update." when the desktop refuses.
void mnuupdates_Click(QWidget* parent);

// File > New Quarix: starts the running executable again, detached.
// False when it could not be started.
bool mnuNew_Click();

} // namespace quarix::tools
