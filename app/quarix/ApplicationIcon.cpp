#include "app/quarix/ApplicationIcon.h"

#include <QDirIterator>

QIcon applicationIcon() {
    QIcon compiledIn;
    QDirIterator pictures(QStringLiteral(":/icons"), {QStringLiteral("*.png")}, QDir::Files,
                          QDirIterator::Subdirectories);
    while (pictures.hasNext())
        compiledIn.addFile(pictures.next());
    return QIcon::fromTheme(QStringLiteral(QUARIX_APP_ID), compiledIn);
}
