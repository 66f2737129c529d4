#include "platform/FileDialog.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QScreen>
#include <QStringList>
#include <QTreeView>

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

namespace {

// The next queued answer of a dialog shown in test mode.
std::optional<QString> testAnswer(const QString& title, const QString& filter,
                                  const QString& startPath) {
    TestState& test = testState();
    test.shown.push_back({title, filter, startPath});
    if (test.answers.empty())
        return std::nullopt;
    const QString answer = test.answers.front();
    test.answers.pop_front();
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

// The dialog in its detail view, wide enough for the name, size, type and
// date of the files; the name, or nothing when the user cancels.
std::optional<QString> choose(QWidget* parent, const QString& title, const QString& filter,
                              const QString& startPath, QFileDialog::AcceptMode mode) {
    if (testState().on)
        return testAnswer(title, filter, startPath);
    QFileDialog dialog(parent, title, startPath, FileDialog::toQtFilter(filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setViewMode(QFileDialog::Detail);
    QSize size(900, 560);
    if (const QScreen* screen = dialog.screen())
        size = size.boundedTo(screen->availableSize() * 0.9);
    dialog.resize(size);
    if (auto* details = dialog.findChild<QTreeView*>()) {
        QHeaderView* header = details->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < header->count(); ++column)
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

} // namespace

std::optional<QString> FileDialog::openFileName(QWidget* parent, const QString& title,
                                                const QString& filter, const QString& startPath) {
    return choose(parent, title, filter, startPath, QFileDialog::AcceptOpen);
}

std::optional<QString> FileDialog::saveFileName(QWidget* parent, const QString& title,
                                                const QString& filter, const QString& startPath) {
    return choose(parent, title, filter, startPath, QFileDialog::AcceptSave);
}

void FileDialog::setTestMode(bool on) {
    testState() = TestState{};
    testState().on = on;
}

void FileDialog::queueAnswer(std::optional<QString> answer) {
    testState().answers.push_back(answer.value_or(QString()));
}

const std::vector<FileDialog::Shown>& FileDialog::shown() {
    return testState().shown;
}

} // namespace quarix::platform
