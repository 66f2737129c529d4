#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quarix::tools {

// The About box: title, version, a short description, System Info. Closes
// with OK or when it loses the focus.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

protected:
    void changeEvent(QEvent* event) override;
};

} // namespace quarix::tools
