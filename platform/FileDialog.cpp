#include "platform/FileDialog.h"

#include <QFileDialog>
#include <QStringList>

#include <deque>

namespace quarix::platform {

namespace {

struct TestState {
    bool on = false;
    // A queued answer: the chosen path, or an empty text for cancel.
    std::deque<QString> answers;
    std::vector<FileDialog::Shown> shown;
};

TestState& testState() {
    static TestState state;
    return state;
}

} // namespace

QString FileDialog::toQtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        QString description = parts[i];
        const qsizetype paren = description.indexOf(QLatin1Char('('));
        if (paren > 0)
            description = description.left(paren).trimmed();
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

std::optional<QString> FileDialog::openFileName(QWidget* parent, const QString& title, const QString& filter,
                                                const QString& startPath) {
    TestState& test = testState();
    if (test.on) {
        test.shown.push_back({title, filter, startPath});
        if (test.answers.empty())
            return std::nullopt;
        const QString answer = test.answers.front();
        test.answers.pop_front();
        if (answer.isEmpty())
            return std::nullopt;
        return answer;
    }
    const QString chosen = QFileDialog::getOpenFileName(parent, title, startPath, toQtFilter(filter));
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen;
}

void FileDialog::setTestMode(bool on) {
    testState() = TestState{};
    testState().on = on;
}

void FileDialog::queueAnswer(std::optional<QString> answer) { testState().answers.push_back(answer.value_or(QString())); }

const std::vector<FileDialog::Shown>& FileDialog::shown() { return testState().shown; }

} // namespace quarix::platform
