#pragma once

#include "history/SearchWindowPort.h"
#include "session/DatabaseWorker.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace quarix::history {

// What the AutoLoad dialog reads from and does to the main window.
struct AutoLoadPort {
    // The settings, the current database and search, and the operations
    // that open a database in the window.
    SearchWindowPort window;
    // The check mark of the AutoLoad menu item.
    std::function<void(bool)> setAutoLoadChecked;
    // The window's database worker, which runs the dialog's reads with the
    // window's progress and cancel; without one, reads run directly.
    session::DatabaseWorker* worker = nullptr;
};

// The AutoLoad dialog: a default database, table and field that open when
// Quarix starts. Shown without blocking the main window; it edits the
// AutoLoad settings only when OK is pressed, and closes when it loses the
// focus. The port's pointers must outlive it.
class frmAutoLoad : public QDialog {
    Q_OBJECT
public:
    explicit frmAutoLoad(AutoLoadPort port, QWidget* parent = nullptr);

    // The dialog's own lists, read from the file each time. Through the
    // worker they fill in when the read ends (not at all when the dialog
    // has closed by then).
    void Load_cmbTable(const QString& dbname);
    void Load_cmbField(const QString& dbname);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void fillControls();
    void chkDefaultdb_Click();
    void cmdFiles_Click();
    void cmdCurrent_Click();
    void OKButton_Click();
    void showReadingError(const char* job, int number, const QString& description);
    // Runs a call that may open a window of its own without the dialog
    // taking the lost focus for a close.
    template <typename F> void whileBusy(F&& call);

    AutoLoadPort m_port;
    SettingsValues& m_settings;
    bool m_busy = false;

    QCheckBox* chkDefaultdb = nullptr;
    QLineEdit* txtDefault = nullptr;
    QPushButton* cmdFiles = nullptr;
    QComboBox* cmbTable = nullptr;
    QComboBox* CmbField = nullptr;
    QPushButton* cmdCurrent = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* cmdCancel = nullptr;
};

} // namespace quarix::history
