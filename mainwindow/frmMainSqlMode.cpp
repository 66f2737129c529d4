// SQL mode: the typed criterion, its functions menu and value picks; and
// the Debug SQL switch.
#include "mainwindow/frmMain.h"
#include "platform/Clipboard.h"
#include "platform/MessageBox.h"
#include "search/Criteria.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

using quarix::platform::Clipboard;

void frmMain::mnuSQLmode_Click() {
    const bool on = !menus_.mnuSQLmode->isChecked();
    settings.SQLMode = on;
    menus_.mnuSQLmode->setChecked(on);
    lblSQL->setVisible(on);
    txtSearch->setVisible(on);
    if (!on)
        txtSearch->clear();
    menus_.mnuSQL->menuAction()->setVisible(on);
    cmdClearSQL->setVisible(on);
    if (!isMinimized())
        Form_Resize();
}

void frmMain::cmdClearSQL_Click() {
    txtSearch->clear();
}

void frmMain::SQL_Click(int index) {
    static const QString symbols[] = {QStringLiteral("*"), QStringLiteral("?"),
                                      QStringLiteral("+"), QStringLiteral("-"),
                                      QString(),           QStringLiteral("/")};
    if (index < 0 || static_cast<std::size_t>(index) >= menus_.SQL.size() || !menus_.SQL[index])
        return;
    Clipboard::clear();
    const QString text = index <= 5 ? symbols[index] : menus_.SQL[index]->text() + QLatin1Char(' ');
    Clipboard::pasteInto(txtSearch, text);
    Clipboard::clear();
}

void frmMain::cmbValues_Click() {
    Clipboard::clear();
    if (!settings.SQLMode)
        return;
    const auto fragment =
        quarix::search::BuildSqlModeFragment(cmbFunction->currentText(), cmbValues->currentText());
    if (fragment.refusal) {
        quarix::platform::MessageBox::show(this, fragment.refusal->message, fragment.refusal->title,
                                           quarix::platform::MessageBox::Icon::Warning);
        return;
    }
    if (!fragment.text.isEmpty())
        Clipboard::pasteInto(txtSearch, fragment.text);
    ValueOnEntry = cmbValues->currentText();
}

void frmMain::mnudebug_Click() {
    const bool on = !menus_.mnudebug->isChecked();
    menus_.mnudebug->setChecked(on);
    settings.DebugSQL = on;
    lblDebug->setVisible(on);
}
