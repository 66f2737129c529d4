#pragma once

#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace quarix::platform {

// The prompt for the value of a query's parameter, as Access shows it: the
// caption "Enter Parameter Value" and the parameter's name as the label.
class ParameterPrompt {
public:
    // Nothing when the user cancels; an empty text when the box was left empty.
    static std::optional<QString> ask(QWidget* parent, const QString& name);

    // Test mode: nothing is displayed; the name of every prompt is recorded
    // and answered from the queue (a missing answer cancels).
    static void setTestMode(bool on);
    static void queueAnswer(std::optional<QString> answer);
    static const std::vector<QString>& shown();
};

} // namespace quarix::platform
