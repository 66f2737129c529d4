#include "platform/PasswordPrompt.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <deque>

namespace quarix::platform {

namespace {

struct TestState {
    bool on = false;
    std::deque<std::optional<QByteArray>> answers;
    std::vector<PasswordPrompt::Shown> shown;
};

TestState& testState() {
    static TestState state;
    return state;
}

// Overwrites the text a line edit holds, and the copy read from it.
void wipe(QLineEdit& edit, QString& copy) {
    std::fill(copy.begin(), copy.end(), QChar(u'\0'));
    edit.setText(QString(edit.text().size(), QLatin1Char(' ')));
    edit.clear();
}

} // namespace

std::optional<QByteArray> PasswordPrompt::ask(QWidget* parent, const QString& text,
                                              const QString& title) {
    TestState& test = testState();
    if (test.on) {
        test.shown.push_back({text, title});
        if (test.answers.empty() || !test.answers.front()) {
            if (!test.answers.empty())
                test.answers.pop_front();
            return std::nullopt;
        }
        const QByteArray typed = *test.answers.front();
        test.answers.pop_front();
        return typed;
    }
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("PasswordPrompt"));
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(text, &dialog);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* edit = new QLineEdit(&dialog);
    edit->setObjectName(QStringLiteral("txtPassword"));
    edit->setEchoMode(QLineEdit::Password);
    label->setBuddy(edit);
    layout->addWidget(edit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.setMinimumWidth(dialog.fontMetrics().averageCharWidth() * 48);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    QString typed = edit->text();
    std::optional<QByteArray> answer;
    if (accepted)
        answer = typed.toUtf8();
    wipe(*edit, typed);
    return answer;
}

void PasswordPrompt::setTestMode(bool on) {
    TestState& test = testState();
    test.on = on;
    test.answers.clear();
    test.shown.clear();
}

void PasswordPrompt::queueAnswer(std::optional<QByteArray> answer) {
    testState().answers.push_back(std::move(answer));
}

const std::vector<PasswordPrompt::Shown>& PasswordPrompt::shown() {
    return testState().shown;
}

void PasswordPrompt::clearShown() {
    testState().shown.clear();
}

} // namespace quarix::platform
