#include "tools/AboutInfo.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"

#include <QCoreApplication>

namespace quarix::tools {

QString programTitle() {
    return QStringLiteral("Quarix");
}

QString versionText() {
    return QStringLiteral(QUARIX_VERSION);
}

QString configuredUpdateServer() {
    return QStringLiteral(QUARIX_UPDATE_SERVER);
}

QString updateAddress(const QString& server) {
    return server + QStringLiteral("/cgi-bin/update.cgi?soft=") + programTitle() +
           QStringLiteral("&vers=") + versionText();
}

QString whereNewVersionsComeFrom() {
    return QStringLiteral("This is Quarix %1. New versions come from where this copy came "
                          "from: your system's package manager, or whoever installed Quarix "
                          "on this computer. This copy has no update address to ask.")
        .arg(versionText());
}

std::optional<Launcher::Command> systemInfoTool() {
    const Launcher::Command candidates[] = {{QStringLiteral("hardinfo2"), {}},
                                            {QStringLiteral("hardinfo"), {}},
                                            {QStringLiteral("gnome-system-monitor"), {}},
                                            {QStringLiteral("kinfocenter"), {}},
                                            {QStringLiteral("mate-system-monitor"), {}},
                                            {QStringLiteral("xfce4-taskmanager"), {}},
                                            {QStringLiteral("lxtask"), {}}};
    for (const Launcher::Command& candidate : candidates) {
        if (const auto found = Launcher::findExecutable(candidate.program))
            return Launcher::Command{*found, candidate.arguments};
    }
    return std::nullopt;
}

void StartSysInfo(QWidget* parent) {
    const auto tool = systemInfoTool();
    if (tool && Launcher::startDetached(tool->program, tool->arguments))
        return;
    platform::MessageBox::show(
        parent, QStringLiteral("System Information Is Unavailable At This Time"), programTitle());
}

void mnuupdates_Click(QWidget* parent, const QString& server) {
    if (server.isEmpty()) {
        platform::MessageBox::show(parent, whereNewVersionsComeFrom(), programTitle());
        return;
    }
    if (!platform::Shell::open(updateAddress(server)))
        platform::MessageBox::show(parent, QStringLiteral("Error launching web update."),
                                   programTitle());
}

bool mnuNew_Click(const QStringList& switches) {
    return Launcher::startDetached(QCoreApplication::applicationFilePath(), switches);
}

} // namespace quarix::tools
