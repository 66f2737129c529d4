// quarix-export-bench [DATABASE] [TABLE]: exports every row of a table to a
// workbook in the temporary folder and prints rows per second and the
// process's peak memory. Default: the 1M-row People table of the benchmark
// fixtures.
#include "engine/EngineError.h"
#include "session/DatabaseHandle.h"
#include "session/ExportRows.h"
#include "session/XlsxExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <sys/resource.h>

#include <cstdio>

namespace {

QString defaultDatabase() {
    const QByteArray dir = qgetenv("QUARIX_BENCH_DATA");
    const QString folder =
        dir.isEmpty() ? QStringLiteral("../shared/fixtures/bench") : QString::fromLocal8Bit(dir);
    return QDir(folder).filePath(QStringLiteral("people-1m.accdb"));
}

long peakMemoryMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    // The benchmark file, or the folder that holds it.
    QString database = args.size() > 1 ? args[1] : defaultDatabase();
    if (QFileInfo(database).isDir())
        database = QDir(database).filePath(QStringLiteral("people-1m.accdb"));
    const QString table = args.size() > 2 ? args[2] : QStringLiteral("People");
    if (!QFileInfo::exists(database)) {
        std::fprintf(stderr, "export bench: %s not found (set QUARIX_BENCH_DATA)\n",
                     qPrintable(database));
        return 2;
    }
    using namespace quarix;
    try {
        QElapsedTimer clock;
        clock.start();
        session::ResultExportRows rows(
            session::DatabaseHandle(database).open()->execute(table.toStdString()));
        const double openSeconds = clock.nsecsElapsed() / 1e9;
        const long memoryAfterOpen = peakMemoryMb();
        const QString out =
            QDir(QDir::tempPath()).filePath(QStringLiteral("quarix-export-bench.xlsx"));
        clock.restart();
        const session::WorkbookResult result = session::writeWorkbook(rows, {out, table});
        const double seconds = clock.nsecsElapsed() / 1e9;
        if (!result.ok) {
            std::fprintf(stderr, "export bench: %s\n", qPrintable(result.error));
            return 1;
        }
        std::printf(
            "export %s (%ld rows, %lld MB workbook): open %.2f s, write %.2f s, %.0f rows/s, "
            "peak memory %ld MB (%ld MB before writing)\n",
            qPrintable(QFileInfo(database).fileName()), result.rowsWritten,
            static_cast<long long>(QFileInfo(out).size() / (1024 * 1024)), openSeconds, seconds,
            result.rowsWritten / seconds, peakMemoryMb(), memoryAfterOpen);
        QFile::remove(out);
    } catch (const engine::EngineError& e) {
        std::fprintf(stderr, "export bench: %d %s\n", e.number(), e.description().c_str());
        return 1;
    }
    return 0;
}
