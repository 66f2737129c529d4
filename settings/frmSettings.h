#pragma once

#include "settings/SettingsEnvironment.h"
#include "settings/SettingsLocation.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsValues.h"
#include "settings/ShellOpen.h"

#include <QDialog>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// What the Preferences dialog does to the rest of the program.
struct SettingsDialogPort {
    // Colours the main window's result grid at once.
    std::function<void(GridColour, qint32)> applyGridColour;
    // The colour dialog; ChooseGridColor unless a test answers it.
    std::function<std::optional<qint32>()> chooseColour;
    // Opens the settings file and the log.
    ShellOpen open;
    // Writes the settings file, so that the INI button has a file to open.
    std::function<void()> writeSettingsFile;
    // A message with an OK button and the program's title.
    std::function<void(const QString&)> showMessage;
    // OK stored the values: the window clears its grid, re-applies what
    // changed and reloads its table list; reloadMainWindow when the
    // multi-user mode changed, so the settings come from the other file.
    std::function<void(bool reloadMainWindow)> accepted;
};

// The Preferences dialog, shown without blocking the main window. It edits
// the values and location it is given, which must outlive it.
class frmSettings : public QDialog {
    Q_OBJECT
public:
    frmSettings(SettingsValues& values, SettingsLocation& location, SettingsEnvironment env,
                SettingsDialogPort port, QWidget* parent = nullptr);

protected:
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void fillControls();
    void chooseColour(int index);
    void openLog();
    void openSettingsFile();
    // The text boxes that take whole numbers only; false after saying which is wrong.
    bool numbersAreWhole();
    void okClicked();
    bool switchMultiUserMode();
    // Runs a call that opens a window of its own without the dialog taking
    // the lost focus for a close.
    template <typename F> auto whileBusy(F&& call);

    SettingsValues& m_values;
    SettingsLocation& m_location;
    SettingsEnvironment m_env;
    SettingsDialogPort m_port;
    bool m_busy = false;

    QComboBox* m_winState = nullptr;
    QComboBox* m_fontSize = nullptr;
    QCheckBox* m_tables = nullptr;
    QCheckBox* m_queries = nullptr;
    QCheckBox* m_autofit = nullptr;
    QCheckBox* m_paging = nullptr;
    QCheckBox* m_last10 = nullptr;
    QCheckBox* m_hideFilter = nullptr;
    QCheckBox* m_writeLog = nullptr;
    QPushButton* m_log = nullptr;
    QLineEdit* m_resultMax = nullptr;
    QLineEdit* m_valueListMax = nullptr;
    QCheckBox* m_saveData = nullptr;
    QPushButton* m_ini = nullptr;
    QLabel* m_dataFile = nullptr;
    QCheckBox* m_termServ = nullptr;
    QLineEdit* m_tsParameters = nullptr;
};
