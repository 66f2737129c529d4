#include "tools/ToolScreenshots.h"

#include "tools/frmAbout.h"
#include "tools/frmObject.h"
#include "tools/frmPrograms.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>

namespace quarix::tools {

namespace {

bool grabToFile(QWidget& widget, const QString& pngPath) {
    widget.adjustSize();
    widget.show();
    QApplication::processEvents();
    const bool saved = widget.grab().save(pngPath, "PNG");
    widget.hide();
    return saved;
}

} // namespace

bool saveObjectViewerScreenshot(const QString& databasePath, const QString& pngPath) {
    frmObject dialog(databasePath, nullptr);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    dialog.cmbTable->setCurrentText(QStringLiteral("Customers"));
    return grabToFile(dialog, pngPath);
}

bool saveProgramsScreenshot(const QString& pngPath) {
    std::array<QString, 10> programs{QStringLiteral("Calculator,/usr/bin/gnome-calculator"),
                                     QStringLiteral("Stock,/home/user/data/stock.accdb")};
    frmPrograms dialog(programs, {});
    dialog.lstPrograms->setCurrentRow(0);
    return grabToFile(dialog, pngPath);
}

bool saveAboutScreenshot(const QString& pngPath) {
    frmAbout about;
    about.setAttribute(Qt::WA_DeleteOnClose, false);
    return grabToFile(about, pngPath);
}

} // namespace quarix::tools
