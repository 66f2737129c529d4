#include "platform/ParameterPrompt.h"

#include <QInputDialog>

#include <deque>

namespace quarix::platform {

namespace {

struct TestState {
    bool on = false;
    std::deque<std::optional<QString>> answers;
    std::vector<QString> shown;
};

TestState& testState() {
    static TestState state;
    return state;
}

} // namespace

std::optional<QString> ParameterPrompt::ask(QWidget* parent, const QString& name) {
    TestState& test = testState();
    if (test.on) {
        test.shown.push_back(name);
        if (test.answers.empty() || !test.answers.front()) {
            if (!test.answers.empty())
                test.answers.pop_front();
            return std::nullopt;
        }
        const QString typed = *test.answers.front();
        test.answers.pop_front();
        return typed;
    }
    QInputDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("ParameterPrompt"));
    dialog.setWindowTitle(QStringLiteral("Enter Parameter Value"));
    dialog.setLabelText(name);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void ParameterPrompt::setTestMode(bool on) {
    TestState& test = testState();
    test.on = on;
    test.answers.clear();
    test.shown.clear();
}

void ParameterPrompt::queueAnswer(std::optional<QString> answer) {
    testState().answers.push_back(std::move(answer));
}

const std::vector<QString>& ParameterPrompt::shown() {
    return testState().shown;
}

} // namespace quarix::platform
