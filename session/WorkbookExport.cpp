#include "session/WorkbookExport.h"

#include "engine/EngineError.h"
#include "search/Criteria.h"

namespace quarix::session {

SearchRequest exportRequest(const ExportChoice& choice) {
    SearchRequest request;
    request.table = choice.table;
    request.field = choice.field;
    request.criterion = choice.currentWhere;
    const bool accdb = choice.databasePath.toUpper().endsWith(QStringLiteral("ACCDB"));
    if (choice.pagedMode && accdb)
        request.sortClause = choice.sortClause.isEmpty() ? search::DefaultSortClause(choice.field)
                                                         : choice.sortClause;
    else if (!choice.pagedMode)
        request.sortClause = choice.sortClause;
    return request;
}

WorkbookResult exportWorkbook(const engine::AccessDatabase& db, const SearchRequest& request,
                              const WorkbookOptions& options, const engine::ReadOptions& read) {
    try {
        const auto result = runSearch(db, request, read).result;
        ResultExportRows rows(result);
        const auto progress = [&read](long done, long expected) {
            if (read.progress)
                read.progress(static_cast<std::uint64_t>(done),
                              static_cast<std::uint64_t>(expected));
        };
        WorkbookResult written = writeWorkbook(rows, options, progress, read.cancel);
        for (const std::string& warning : result->warnings())
            written.warnings << QString::fromStdString(warning);
        return written;
    } catch (const engine::EngineError& e) {
        WorkbookResult failed;
        failed.cancelled = read.cancel && read.cancel->load();
        failed.error =
            QStringLiteral("%1 %2").arg(e.number()).arg(QString::fromStdString(e.description()));
        return failed;
    }
}

} // namespace quarix::session
