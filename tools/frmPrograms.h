#pragma once

#include "tools/ProgramList.h"

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace quarix::tools {

// The Programs dialog: edits the ten user programs of the Programs menu.
// OK writes the list back into the slots it was given; Cancel changes
// nothing. Modeless; the menu is rebuilt when the main window is active again.
class frmPrograms : public QDialog {
    Q_OBJECT
public:
    // programs must outlive the dialog; autoLoadDatabase is where the file
    // dialog starts (the AutoLoad default database's folder) when set.
    frmPrograms(std::array<QString, 10>& programs, const QString& autoLoadDatabase,
                QWidget* parent = nullptr);

    QLineEdit* txtProgname = nullptr;
    QLineEdit* txtProgfile = nullptr;
    QPushButton* cmdFiles = nullptr;
    QPushButton* cmdAdd = nullptr;
    QListWidget* lstPrograms = nullptr;
    QListWidget* List1 = nullptr;
    QPushButton* cmdUp = nullptr;
    QPushButton* cmdDown = nullptr;
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QLabel* Label2 = nullptr;

    void cmdFiles_Click();
    void cmdAdd_Click();
    void lstPrograms_Click();
    void lstPrograms_DblClick();
    void cmdUp_Click();
    void cmdDown_Click();
    void OKButton_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showList(int selectRow);

    std::array<QString, 10>& programs_;
    QString autoLoadDatabase_;
    ProgramList list_;
};

} // namespace quarix::tools
