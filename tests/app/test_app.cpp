#include <QProcess>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct AppRun {
    int exitCode;
    QByteArray out, err;
};

// The program started with no display of any kind.
AppRun runWithoutDisplay(const QString& argument) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QLatin1String(name));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QUARIX_EXE), {argument});
    EXPECT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

TEST(App, WithoutADisplayVersionAndHelpWorkAndTheWindowSaysWhyItCannotOpen) {
    const AppRun version = runWithoutDisplay(u"--version"_s);
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.trimmed(), QByteArray("Quarix 8.0.120"));
    const AppRun help = runWithoutDisplay(u"--help"_s);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: quarix"));
    const AppRun window = runWithoutDisplay(u"/K"_s);
    EXPECT_EQ(window.exitCode, 1);
    EXPECT_TRUE(window.err.startsWith("quarix: no display"));
}

} // namespace
