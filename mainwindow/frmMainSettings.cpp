// The settings file, the command line, the Preferences dialog and the
// search log, as the main window applies them.
#include "catalogue/CatalogueNames.h"
#include "mainwindow/CommandLine.h"
#include "mainwindow/ReloadMainWindow.h"
#include "mainwindow/ResultGridView.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "search/ResultGridModel.h"
#include "session/DatabaseWorker.h"
#include "settings/ColourValue.h"
#include "settings/IniFile.h"
#include "settings/SearchLog.h"
#include "settings/WindowPlacement.h"
#include "settings/frmSettings.h"

#include <QAction>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

using quarix::platform::MessageBox;

namespace {

const QString kProgramTitle = QStringLiteral("Quarix");

std::size_t colourIndex(GridColour which) {
    return static_cast<std::size_t>(which);
}

// Window placement is kept in real twips, whatever room the controls take.
Twips placementScale(const QWidget* window) {
    return Twips(window->screen() ? window->screen()->logicalDotsPerInch() : 96.0, 1.0);
}

} // namespace

void frmMain::buildSettingsControls() {
    lblMultiUser = new QLabel(menuBar());
    lblMultiUser->setObjectName(QStringLiteral("lblMultiUser"));
    lblMultiUser->setStyleSheet(
        QStringLiteral("color: #b00000; font-weight: bold; padding: 0px 8px;"));
    menuBar()->setCornerWidget(lblMultiUser, Qt::TopRightCorner);
    lblMultiUser->setVisible(false);
    connect(menus_.mnusettings, &QAction::triggered, this, &frmMain::mnusettings_Click);
}

SettingsWindowPort frmMain::settingsPort() {
    SettingsWindowPort port;
    port.applyGridColour = [this](GridColour which, qint32 value) {
        applyGridColour(which, value);
    };
    port.gridColour = [this](GridColour which) { return gridColourValue(which); };
    port.applyPlacement = [this](WindowEdge edge, double twips) {
        const int px = placementScale(this).px(twips);
        qint64 left = x(), top = y(), wide = width(), high = height();
        switch (edge) {
        case WindowEdge::Top:
            top = px;
            break;
        case WindowEdge::Left:
            left = px;
            break;
        case WindowEdge::Width:
            wide = px;
            break;
        case WindowEdge::Height:
            high = px;
            break;
        }
        QList<QRect> screens;
        for (const QScreen* screen : QGuiApplication::screens())
            screens << screen->availableGeometry();
        const QRect placed = placementOnScreens(left, top, wide, high, screens);
        if (!placed.isNull()) {
            move(placed.topLeft());
            resize(placed.size());
            keepWithinScreen();
        }
    };
    port.placement = [this](WindowEdge edge) {
        const Twips scale = placementScale(this);
        switch (edge) {
        case WindowEdge::Top:
            return scale.twips(y());
        case WindowEdge::Left:
            return scale.twips(x());
        case WindowEdge::Width:
            return scale.twips(width());
        case WindowEdge::Height:
            return scale.twips(height());
        }
        return 0.0;
    };
    port.windowState = [this] { return windowStateNumber(); };
    port.applyWindowState = [this](int state) { applyWindowStateNumber(state); };
    port.uncheckValuePickList = [this] { menus_.mnuValuePickList->setChecked(false); };
    port.sortSavedSearches = [this] { loadSavedSearches(); };
    port.showError = [this](const QString& text) {
        MessageBox::show(this, text, kSettingsErrorTitle, MessageBox::Icon::Warning);
    };
    return port;
}

void frmMain::SaveSettings() {
    IniFile file(location.settingsFilePath());
    ::SaveSettings(file, settings, settingsPort());
}

qint32 frmMain::gridColourValue(GridColour which) const {
    return gridColours_[colourIndex(which)];
}

// The number is kept as given, so a system colour is saved as the
// reference it is and follows the desktop's theme.
void frmMain::applyGridColour(GridColour which, qint32 value) {
    gridColours_[colourIndex(which)] = value;
    const QPalette p = palette();
    const QColor background = colourFromValue(gridColours_[colourIndex(GridColour::Background)], p);
    const QColor cell = colourFromValue(gridColours_[colourIndex(GridColour::Cell)], p);
    const QColor text = colourFromValue(gridColours_[colourIndex(GridColour::Text)], p);
    MSFlexGrid1->setStyleSheet(
        QStringLiteral(
            "QTableView { background-color: %1; color: %3; gridline-color: palette(mid); }"
            "QTableView::item { background-color: %2; color: %3; }"
            "QTableView::item:alternate { background-color: %4; }"
            "QTableView::item:selected { background-color: palette(highlight);"
            " color: palette(highlighted-text); }")
            .arg(background.name(), cell.name(), text.name(), cell.darker(106).name()));
}

int frmMain::windowStateNumber() const {
    if (isMinimized())
        return 1;
    return isMaximized() ? 2 : 0;
}

void frmMain::applyWindowStateNumber(int state) {
    if (state < 0 || state > 2)
        return;
    Qt::WindowStates next = windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == 1)
        next |= Qt::WindowMinimized;
    else if (state == 2)
        next |= Qt::WindowMaximized;
    setWindowState(next);
}

void frmMain::runCommandLine() {
    const CommandLineInput input{location.TSParameters, commandLineArguments};
    const CommandLineEffects effects =
        GetCommandLine(input, settings, location, QFileInfo::exists(markerFilePath(env)));
    applyMenuEffects(effects.menus);
    for (const QString& message : effects.messages)
        MessageBox::show(this, message, kProgramTitle);
    RecentShown = RecentShown && effects.RecentShown;
    if (!effects.CmdLineDatabase.isEmpty())
        CmdLineDatabase = quarix::catalogue::absoluteDatabasePath(effects.CmdLineDatabase);
    // A marker file that cannot be created is passed over.
    if (effects.enterMultiUserMode && writeMarkerFile(env, {}, nullptr))
        queueReload();
}

// Menus and their items share object names; an item of a menu array is
// named with its index.
void frmMain::applyMenuEffects(const QList<MenuEffect>& effects) {
    for (const MenuEffect& effect : effects) {
        const QString name =
            effect.index < 0 ? effect.item : effect.item + QString::number(effect.index);
        QAction* item = findChild<QAction*>(name);
        if (!item)
            continue;
        switch (effect.action) {
        case MenuEffect::Action::Hide:
            item->setVisible(false);
            break;
        case MenuEffect::Action::Show:
            item->setVisible(true);
            break;
        case MenuEffect::Action::Disable:
            item->setEnabled(false);
            break;
        }
    }
}

// The reload runs from the event loop, never inside the window's own
// start-up or a dialog's handler, and only once no database job is left to
// report to this window.
frmMain::Task frmMain::queueReload() {
    if (reloadQueued_)
        co_return;
    reloadQueued_ = true;
    co_await stopDatabaseWork();
    QTimer::singleShot(0, this, [this] { ReloadMainWindow(this); });
}

frmMain::Task frmMain::mnusettings_Click() {
    if (settingsDialog_) {
        settingsDialog_->show();
        settingsDialog_->raise();
        settingsDialog_->activateWindow();
        co_return;
    }
    SettingsDialogPort port;
    port.applyGridColour = [this](GridColour which, qint32 value) {
        applyGridColour(which, value);
    };
    port.open = [](const QString& path) { return quarix::platform::Shell::open(path); };
    port.showMessage = [this](const QString& text) {
        QWidget* owner = settingsDialog_ ? static_cast<QWidget*>(settingsDialog_) : this;
        MessageBox::show(owner, text, kProgramTitle);
    };
    port.writeSettingsFile = [this] { SaveSettings(); };
    port.accepted = [this](bool reloadMainWindow) { settingsAccepted(reloadMainWindow); };
    settingsDialog_ = new frmSettings(settings, location, env, std::move(port), this);
    settingsDialog_->show();
}

frmMain::Task frmMain::settingsAccepted(bool reloadMainWindow) {
    co_await stopDatabaseWork();
    gridModel_->resetGrid();
    MSFlexGrid1->viewport()->update();
    showNoResults();
    if (!CurrentDatabasePath.isEmpty()) {
        // The next activation applies the font size and the column sizing.
        settingsChanged_ = true;
        co_await Load_cmbTable(CurrentDatabasePath);
        SortSaved();
    }
    UpdateTableQuery();
    if (reloadMainWindow)
        co_await queueReload();
}

void frmMain::WriteSearchLog(const SearchLogEntry& entry) {
    ::WriteSearchLog(settings, env, entry, [this](const QString& message) {
        MessageBox::show(this, message, kProgramTitle);
    });
}
