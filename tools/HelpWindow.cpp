#include "tools/HelpWindow.h"

#include <QFile>
#include <QPointer>
#include <QTextBrowser>

namespace quarix::tools {

QString manualText() {
    QFile file(QStringLiteral(":/help/manual.md"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Quarix Help"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("browser"));
    browser_->setOpenExternalLinks(true);
    browser_->setMarkdown(manualText());
    setCentralWidget(browser_);
    resize(760, 640);
}

void mnuQuarixHelp_Click(QWidget* parent) {
    static QPointer<HelpWindow> open;
    if (!open)
        open = new HelpWindow(parent);
    open->show();
    open->raise();
    open->activateWindow();
}

} // namespace quarix::tools
