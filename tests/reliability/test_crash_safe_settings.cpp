// Settings and log writes from processes that are killed mid-write, or that
// write at the same moment: the settings file is always one whole version,
// and the log holds whole lines only. And settings files the INI fuzzer
// found: a value written must read back the same, and the rest of the file
// must keep its meaning.
#include "settings/IniDocument.h"
#include "settings/IniFile.h"
#include "settings/SearchLog.h"
#include "settings/SettingsStore.h"
#include "tests/support/TestData.h"

#include <QFile>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>

using namespace Qt::StringLiterals;

namespace fs = std::filesystem;

namespace {

constexpr int bulkKeys = 150;

QString bulkValue(int generation, int key) {
    return u"g%1-k%2-%3"_s.arg(generation).arg(key).arg(QString(40, QLatin1Char('x')));
}

// The two ends of a saver's conversation with the test: it says 'b' just
// before each save and 'e' after it, and starts a save only when the test
// answers 'b' with one byte on go. So a saver never runs ahead of the test,
// however busy the machine is.
struct SaverPipes {
    int report = -1;
    int go = -1;
};

// Saves one generation of the settings through the program's own save: the
// usual keys plus enough others that a write takes more than one moment.
void saveGeneration(IniFile& file, int generation, SaverPipes pipes = {}) {
    file.SetIniValue(u"Bulk"_s, u"First"_s, QString::number(generation));
    for (int k = 0; k < bulkKeys; ++k)
        file.SetIniValue(u"Bulk"_s, u"K%1"_s.arg(k), bulkValue(generation, k));
    file.SetIniValue(u"Bulk"_s, u"Last"_s, QString::number(generation));
    SettingsValues values;
    values.SaveData = true;
    values.Recent1 = u"/data/generation-%1.mdb"_s.arg(generation);
    char go = 0;
    if (pipes.report >= 0 && (::write(pipes.report, "b", 1) != 1 || ::read(pipes.go, &go, 1) != 1))
        ::_exit(1);
    SaveSettings(file, values, SettingsWindowPort{});
    if (pipes.report >= 0 && ::write(pipes.report, "e", 1) != 1)
        ::_exit(1);
}

// A child that saves generations first, first + 1, ... until killed or
// until count saves are done.
pid_t startSaver(const QString& path, int first, int count, SaverPipes pipes = {}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        IniFile file(path);
        for (int g = first; count == 0 || g < first + count; ++g)
            saveGeneration(file, g, pipes);
        ::_exit(0);
    }
    return pid;
}

// Waits for the next report of a saver.
char nextReport(int fd) {
    char c = 0;
    return ::read(fd, &c, 1) == 1 ? c : '\0';
}

// Waits for the saver to reach its next save, then lets it start.
bool startNextSave(int report, int go) {
    return nextReport(report) == 'b' && ::write(go, "g", 1) == 1;
}

// The generation the file holds, after checking that every key agrees.
int wholeGeneration(const QString& path) {
    const IniFile file(path);
    const int generation = file.GetIniValue(u"Bulk"_s, u"First"_s).toInt();
    EXPECT_GT(generation, 0);
    EXPECT_EQ(file.GetIniValue(u"Bulk"_s, u"Last"_s).toInt(), generation);
    for (int k = 0; k < bulkKeys; k += 37)
        EXPECT_EQ(file.GetIniValue(u"Bulk"_s, u"K%1"_s.arg(k)), bulkValue(generation, k));
    EXPECT_EQ(file.GetIniValue(u"History"_s, u"Recent1"_s),
              u"/data/generation-%1.mdb"_s.arg(generation));
    return generation;
}

class CrashSafeWrites : public testing::Test {
protected:
    quarix::test::ScratchFolder dir_{"crash-safe-writes"};
};

TEST_F(CrashSafeWrites, AKilledSaveLeavesTheOldOrTheNewSettingsFile) {
    const QString path = QString::fromStdString((dir_ / "Quarix.ini").string());
    {
        IniFile first(path);
        saveGeneration(first, 1);
    }
    std::mt19937 random(7);
    for (int round = 1; round <= 30; ++round) {
        int report[2];
        int go[2];
        ASSERT_EQ(::pipe(report), 0);
        ASSERT_EQ(::pipe(go), 0);
        const pid_t child = startSaver(path, round * 1000, 0, {report[1], go[0]});
        ASSERT_GT(child, 0);
        ::close(report[1]);
        ::close(go[0]);
        // Times one whole save, lets 0 to 2 more finish, then kills the child
        // at a random moment inside the next one. The child cannot start a
        // further save, since it waits for the test before each.
        ASSERT_TRUE(startNextSave(report[0], go[1]));
        const auto start = std::chrono::steady_clock::now();
        ASSERT_EQ(nextReport(report[0]), 'e');
        const auto save = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::steady_clock::now() - start);
        const int saves = 1 + static_cast<int>(random() % 3);
        for (int i = 0; i < saves; ++i) {
            ASSERT_TRUE(startNextSave(report[0], go[1]));
            if (i + 1 < saves) {
                ASSERT_EQ(nextReport(report[0]), 'e');
            }
        }
        ::usleep(
            static_cast<useconds_t>(std::uniform_int_distribution<long>(0, save.count())(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(report[0]);
        ::close(go[1]);

        const int generation = wholeGeneration(path);
        // The file holds the last finished save or the one being written:
        // never an older, a mixed or a half-written version.
        const int finished = round * 1000 + saves - 1;
        EXPECT_TRUE(generation == finished || generation == finished + 1)
            << "round " << round << " left generation " << generation << ", expected " << finished;
        if (HasFailure())
            return;
    }
    // A save killed before its rename leaves its temporary file behind,
    // never a damaged settings file.
    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(dir_.path()))
        leftovers += entry.path().filename() != "Quarix.ini";
    RecordProperty("temporary_files_left", leftovers);
    std::cout << "30 saves killed while writing; " << leftovers << " temporary files left\n";
}

TEST_F(CrashSafeWrites, TwoInstancesSavingAtOnceLeaveOneWholeFile) {
    const QString path = QString::fromStdString((dir_ / "Quarix.ini").string());
    const pid_t a = startSaver(path, 1, 40);
    const pid_t b = startSaver(path, 5001, 40);
    int status = 0;
    ASSERT_EQ(::waitpid(a, &status, 0), a);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(::waitpid(b, &status, 0), b);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const int generation = wholeGeneration(path);
    EXPECT_TRUE(generation == 40 || generation == 5040) << generation;
}

// The log: children appending lines, one killed while it writes (after its
// tenth line, wherever it has got to by then), the other running to its
// end. Every line in the file is a whole line.
TEST_F(CrashSafeWrites, KilledAndConcurrentLogWritersLeaveWholeLines) {
    const QString folder = QString::fromStdString(dir_.path().string());
    SettingsEnvironment env;
    env.variable = [folder](const QString& name) {
        return name == QLatin1String("ALLUSERSPROFILE") ? folder : QString();
    };
    SettingsValues values;
    values.WriteLog = true;
    // report, when given, hears one byte after each line.
    const auto appender = [&](const QString& table, int lines, int report) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            SearchLogEntry entry{u"/data/shop.mdb"_s,
                                 table,
                                 u"City"_s,
                                 u"[City] Like '*, \"on*'"_s + QString(300, QLatin1Char('z')),
                                 7,
                                 u"0.01"_s};
            for (int i = 0; lines == 0 || i < lines; ++i) {
                WriteSearchLog(values, env, entry, {});
                if (report >= 0 && ::write(report, "l", 1) != 1)
                    ::_exit(1);
            }
            ::_exit(0);
        }
        return pid;
    };
    int report[2];
    ASSERT_EQ(::pipe(report), 0);
    const pid_t killed = appender(u"Killed"_s, 0, report[1]);
    ::close(report[1]);
    const pid_t finished = appender(u"Finished"_s, 300, -1);
    constexpr int linesBeforeKill = 10;
    for (int i = 0; i < linesBeforeKill; ++i)
        ASSERT_EQ(nextReport(report[0]), 'l');
    ::kill(killed, SIGKILL);
    ::close(report[0]);
    int status = 0;
    ::waitpid(killed, &status, 0);
    ::waitpid(finished, &status, 0);

    QFile log(searchLogPath(env));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray bytes = log.readAll();
    ASSERT_TRUE(bytes.endsWith('\n'));
    const QList<QByteArray> lines = bytes.trimmed().split('\n');
    EXPECT_EQ(QString::fromUtf8(lines.first()).trimmed(), kSearchLogHeader);
    int finishedLines = 0;
    int killedLines = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        EXPECT_TRUE(line.endsWith(",Not Paged,,"))
            << "line " << i << ": " << line.right(60).constData();
        finishedLines += line.contains(",Finished,");
        killedLines += line.contains(",Killed,");
        EXPECT_NE(line.contains(",Finished,"), line.contains(",Killed,")) << "line " << i;
    }
    EXPECT_EQ(finishedLines, 300);
    EXPECT_GE(killedLines, linesBeforeKill);
}

// A Windows-1252 file whose only bytes that are not UTF-8 sit in the value
// being replaced: read again it would be taken for UTF-8, so "Ã©" would
// turn into "é" and a leading "ï»¿" into a byte-order mark that moves a
// section.
TEST(IniFuzzFindings, ReplacingTheLastWindows1252ByteKeepsTheFileMeaning) {
    const QByteArray file = "\xEF\xBB\xBF[ history ]\n  recent0 = 'x'\n[History]\nRecent1=caf\xE9\n"
                            "Recent2=Caf\xC3\xA9\n";
    IniDocument document = IniDocument::fromBytes(file);
    ASSERT_EQ(document.value(u"History"_s, u"Recent2"_s), u"Caf\u00C3\u00A9"_s);

    document.setValue(u"History"_s, u"Recent1"_s, u"line\r\nbreak"_s);
    const IniDocument reread = IniDocument::fromBytes(document.toBytes());
    EXPECT_EQ(reread.value(u"History"_s, u"Recent1"_s), u"line break"_s);
    EXPECT_EQ(reread.value(u"History"_s, u"Recent2"_s), u"Caf\u00C3\u00A9"_s);
    EXPECT_FALSE(reread.value(u"History"_s, u"recent0"_s).has_value());
}

} // namespace
