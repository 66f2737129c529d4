#include "tools/AboutInfo.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"

#include <QCoreApplication>

namespace quarix::tools {

namespace {
const QString kUpdateServer = QStringLiteral("https://quarix.example.org");
}

QString programTitle() {
    return QStringLiteral("Quarix");
}

QString versionText() {
    return QStringLiteral(QUARIX_VERSION);
}

QString updateAddress() {
    return kUpdateServer + QStringLiteral("/cgi-bin/update.cgi?soft=") + programTitle() +
           QStringLiteral("&vers=") + versionText();
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

void mnuupdates_Click(QWidget* parent) {
    if (!platform::Shell::open(updateAddress()))
        platform::MessageBox::show(parent, QStringLiteral("Error launching web update."),
                                   programTitle());
}

bool mnuNew_Click() {
    return Launcher::startDetached(QCoreApplication::applicationFilePath(), {});
}

} // namespace quarix::tools
