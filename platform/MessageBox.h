#pragma once

#include <QMessageBox>
#include <QString>

#include <vector>

class QWidget;

namespace quarix::platform {

// Every message box of the program goes through here, so that tests can
// answer them and read what was shown.
class MessageBox {
public:
    enum class Icon { None, Information, Warning, Critical, Question };

    struct Shown {
        QString text;
        QString title;
        Icon icon = Icon::None;
        QMessageBox::StandardButtons buttons;
    };

    // Shows a modal message box; returns the button pressed. An empty title
    // is the application's name.
    static QMessageBox::StandardButton show(QWidget* parent, const QString& text,
                                            const QString& title = {}, Icon icon = Icon::None,
                                            QMessageBox::StandardButtons buttons = QMessageBox::Ok);

    // Test mode: nothing is displayed; every message is recorded and
    // answered from the queue (or with its first button when it is empty).
    static void setTestMode(bool on);
    static void queueAnswer(QMessageBox::StandardButton answer);
    static const std::vector<Shown>& shown();
    static void clearShown();
};

} // namespace quarix::platform
