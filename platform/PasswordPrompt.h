#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace quarix::platform {

// The masked prompt for a database's password. The answer comes back as
// UTF-8 bytes for the caller to turn into a secret and wipe; the prompt's
// own copies are overwritten before it returns.
class PasswordPrompt {
public:
    struct Shown {
        QString text;
        QString title;
    };

    // Nothing when the user cancels.
    static std::optional<QByteArray> ask(QWidget* parent, const QString& text,
                                         const QString& title);

    // Test mode: nothing is displayed; every prompt is recorded and answered
    // from the queue (a missing answer cancels).
    static void setTestMode(bool on);
    static void queueAnswer(std::optional<QByteArray> answer);
    static const std::vector<Shown>& shown();
    static void clearShown();
};

} // namespace quarix::platform
