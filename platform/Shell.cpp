#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace quarix::platform {

namespace {
struct TestState {
    bool on = false;
    QStringList opened;
};
TestState& testState() {
    static TestState state;
    return state;
}
} // namespace

bool Shell::open(const QString& target) {
    if (testState().on) {
        testState().opened << target;
        return true;
    }
    const QUrl url = QFileInfo::exists(target)
                         ? QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())
                         : QUrl::fromUserInput(target);
    return QDesktopServices::openUrl(url);
}

void Shell::setTestMode(bool on) {
    testState() = TestState{};
    testState().on = on;
}

const QStringList& Shell::opened() {
    return testState().opened;
}

} // namespace quarix::platform
