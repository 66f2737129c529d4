#include "platform/MessageBox.h"

#include <QCoreApplication>

#include <deque>

namespace quarix::platform {

namespace {

struct TestState {
    bool on = false;
    std::deque<QMessageBox::StandardButton> answers;
    std::vector<MessageBox::Shown> shown;
};

TestState& testState() {
    static TestState state;
    return state;
}

QMessageBox::Icon toQt(MessageBox::Icon icon) {
    switch (icon) {
    case MessageBox::Icon::Information:
        return QMessageBox::Information;
    case MessageBox::Icon::Warning:
        return QMessageBox::Warning;
    case MessageBox::Icon::Critical:
        return QMessageBox::Critical;
    case MessageBox::Icon::Question:
        return QMessageBox::Question;
    case MessageBox::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton firstButton(QMessageBox::StandardButtons buttons) {
    for (int bit = 0; bit < 32; ++bit) {
        const auto b = static_cast<QMessageBox::StandardButton>(1u << bit);
        if (buttons.testFlag(b))
            return b;
    }
    return QMessageBox::Ok;
}

} // namespace

QMessageBox::StandardButton MessageBox::show(QWidget* parent, const QString& text,
                                             const QString& title, Icon icon,
                                             QMessageBox::StandardButtons buttons) {
    const QString shownTitle = title.isEmpty() ? QCoreApplication::applicationName() : title;
    TestState& test = testState();
    if (test.on) {
        test.shown.push_back({text, shownTitle, icon, buttons});
        if (test.answers.empty())
            return firstButton(buttons);
        const auto answer = test.answers.front();
        test.answers.pop_front();
        return answer;
    }
    QMessageBox box(toQt(icon), shownTitle, text, buttons, parent);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void MessageBox::setTestMode(bool on) {
    testState() = TestState{};
    testState().on = on;
}

void MessageBox::queueAnswer(QMessageBox::StandardButton answer) {
    testState().answers.push_back(answer);
}

const std::vector<MessageBox::Shown>& MessageBox::shown() {
    return testState().shown;
}

void MessageBox::clearShown() {
    testState().shown.clear();
}

} // namespace quarix::platform
