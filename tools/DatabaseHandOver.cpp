#include "tools/DatabaseHandOver.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "tools/Launcher.h"

#include <QDir>
#include <QFileInfo>

namespace quarix::tools {

bool Send_To_Access(const QString& senddbase) {
    if (senddbase.isEmpty() || !QFileInfo(senddbase).isFile())
        return false;
    if (Launcher::defaultApplicationFor(senddbase).isEmpty())
        return false;
    return platform::Shell::open(QFileInfo(senddbase).absoluteFilePath());
}

void mnuAccess_Click(QWidget* parent, const QString& currentDatabasePath) {
    QString path = currentDatabasePath;
    if (path.startsWith(QStringLiteral("..")))
        path = QDir::current().absoluteFilePath(path);
    if (!Send_To_Access(path))
        platform::MessageBox::show(
            parent,
            QStringLiteral("The database cannot be opened or Quarix cannot connect to Access"),
            QStringLiteral("Quarix"));
}

QString compactMessage() {
    return QStringLiteral("The database cannot be compacted.\n"
                          "Quarix only reads Access files and never writes to them; "
                          "compact the database in Microsoft Access or LibreOffice Base.");
}

void mnuCompact_Click(QWidget* parent) {
    platform::MessageBox::show(parent, compactMessage(), QStringLiteral("Quarix"));
}

} // namespace quarix::tools
