#pragma once

#include "session/DatabaseWorker.h"
#include "tools/ObjectCatalogue.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace quarix::tools {

class RecordsetViewer;

// "Quarix Objects": the forms, reports, tables and queries of the current
// database. A table or query opens in a read-only viewer window; forms and
// reports need Access, so the database goes to the desktop's application
// for it. The viewers close with the dialog; the dialog closes when it
// loses the focus to any window but its own viewers.
class frmObject : public QDialog {
    Q_OBJECT
public:
    // Indexes of the rows, as the buttons and labels are numbered.
    enum Row { FormRow = 0, TableRow = 1, QueryRow = 2, ReportRow = 3 };

    // The lists and the records are read on the worker (at once without
    // one) and fill in when the read ends.
    frmObject(const QString& currentDatabasePath, session::DatabaseWorker* worker,
              QWidget* parent = nullptr);

    QComboBox* cmbReport = nullptr;
    QComboBox* cmbForm = nullptr;
    QComboBox* cmbTable = nullptr;
    QComboBox* cmbQuery = nullptr;
    std::array<QPushButton*, 4> cmdShow{};
    QPushButton* cmdOK = nullptr;
    QLabel* Label4 = nullptr;

    void cmdShow_Click(int index);
    // The viewer windows opened from this dialog.
    QList<RecordsetViewer*> viewers() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void fill(const ObjectLists& lists);
    void openViewer(const QString& name, bool query);

    QString databasePath_;
    session::DatabaseWorker* worker_;
};

} // namespace quarix::tools
