#include "app/cli/CliCommands.h"

#include "app/cli/AttachmentCommand.h"
#include "app/cli/PasswordInput.h"
#include "app/cli/ResultCells.h"
#include "app/cli/ResultWriter.h"
#include "catalogue/CatalogueLists.h"
#include "catalogue/CatalogueNames.h"
#include "engine/EngineError.h"
#include "engine/reader/ReaderErrors.h"
#include "search/Criteria.h"
#include "session/DatabaseHandle.h"
#include "session/ExportRows.h"
#include "session/Passwords.h"
#include "session/SearchRun.h"
#include "session/XlsxExport.h"

#include <QFileInfo>
#include <QString>

#include <cstdio>
#include <map>
#include <set>

#include <unistd.h>

namespace quarix::cli {

using engine::AccessDatabase;
using engine::EngineError;

namespace {

std::string queryKindText(engine::QueryKind kind) {
    static const std::map<engine::QueryKind, std::string> names = {
        {engine::QueryKind::Select, "Select"},
        {engine::QueryKind::Crosstab, "Crosstab"},
        {engine::QueryKind::Delete, "Delete"},
        {engine::QueryKind::Update, "Update"},
        {engine::QueryKind::Append, "Append"},
        {engine::QueryKind::MakeTable, "Make-table"},
        {engine::QueryKind::DataDefinition, "Data-definition"},
        {engine::QueryKind::PassThrough, "Pass-through"},
        {engine::QueryKind::Union, "Union"},
        {engine::QueryKind::Unknown, "Unknown"}};
    return names.at(kind);
}

// The window's operator captions and their short aliases.
QString operatorCaption(const std::string& op) {
    static const std::map<std::string, const char*> aliases = {
        {"contains", "Contains"}, {"begins", "Begins"}, {"not-contains", "Not Contain"},
        {"eq", "Equals"},         {"ne", "<> Not"},     {"gt", "> Greater"},
        {"lt", "< Less"},         {"ge", ">="},         {"le", "<="}};
    auto it = aliases.find(op);
    return QString::fromStdString(it == aliases.end() ? op : it->second);
}

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

Cell text(const QString& value) {
    return {value.toStdString(), Cell::Kind::String};
}

struct Context {
    const CliOptions& options;
    std::ostream& out;
    std::ostream& err;
    Format format;
    engine::ReadOptions read;
};

// What a salvaged answer lacks, said on standard error.
void warn(Context& ctx, const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings)
        ctx.err << "quarix-cli: warning: " << warning << "\n";
}

int listNames(Context& ctx, const AccessDatabase& db, bool tables) {
    if (tables) {
        ListSource list({"Name"});
        for (const QString& name :
             catalogue::objectNames(db, catalogue::kTableKind, ctx.options.all))
            list.add({text(name)});
        writeRows(ctx.out, list, ctx.format);
        return Success;
    }
    ListSource list({"Name", "Kind", "SQL"});
    for (const auto& query : catalogue::savedQueries(db, ctx.options.all))
        list.add(
            {text(query.name), {queryKindText(query.kind), Cell::Kind::String}, text(query.sql)});
    writeRows(ctx.out, list, ctx.format);
    return Success;
}

int listFields(Context& ctx, const AccessDatabase& db) {
    ListSource list({"Name", "Type"});
    for (const auto& field : catalogue::fieldDefs(db, qt(ctx.options.arguments[1]), ctx.read))
        list.add({text(field.name), {engine::columnTypeName(field.type), Cell::Kind::String}});
    writeRows(ctx.out, list, ctx.format);
    return Success;
}

int listValues(Context& ctx, const AccessDatabase& db) {
    const std::string& field = ctx.options.arguments[2];
    ListSource list({field});
    const long limit = ctx.options.max ? *ctx.options.max : -1;
    std::vector<std::string> warnings;
    for (const QString& value : catalogue::distinctValues(db, qt(ctx.options.arguments[1]),
                                                          qt(field), limit, ctx.read, &warnings))
        list.add({text(value)});
    warn(ctx, warnings);
    writeRows(ctx.out, list, ctx.format);
    return Success;
}

// Every row a request reads, as the window's spreadsheet export writes them.
int writeWorkbook(Context& ctx, const AccessDatabase& db, session::SearchRequest request) {
    request.paged = false;
    const auto result = session::runSearch(db, request, ctx.read).result;
    warn(ctx, result->warnings());
    session::ResultExportRows rows(result);
    const auto written =
        session::writeWorkbook(rows, {qt(ctx.options.xlsx), request.table}, {}, ctx.read.cancel);
    if (!written.ok) {
        ctx.err << "quarix-cli: cannot write '" << ctx.options.xlsx
                << "': " << written.error.toStdString() << "\n";
        return OutputError;
    }
    return written.rowsWritten == 0 ? NoRows : Success;
}

// The criterion of a search: built from field, operator and value as the
// window builds it, or typed; further filters are joined as the window's
// Filter button joins them.
std::optional<QString> searchCriterion(Context& ctx, int& exitCode) {
    const auto& a = ctx.options.arguments;
    QString criterion;
    if (!ctx.options.where.empty()) {
        criterion = qt(ctx.options.where);
    } else {
        const search::SearchCriteria criteria{qt(a[0]), qt(a[1]), qt(a[2]), operatorCaption(a[3]),
                                              qt(a[4])};
        if (!search::operatorCaptions().contains(criteria.op)) {
            ctx.err << "quarix-cli: unknown operator '" << a[3] << "'\n";
            exitCode = UsageError;
            return std::nullopt;
        }
        const search::BuildResult built = search::BuildCriterion(criteria);
        if (built.refusal || built.failure) {
            ctx.err << "quarix-cli: "
                    << (built.refusal ? built.refusal->message.toStdString()
                                      : "error " + std::to_string(built.failure->number) + ": " +
                                            built.failure->description.toStdString())
                    << "\n";
            exitCode = QueryError;
            return std::nullopt;
        }
        criterion = built.text;
    }
    for (const auto& filter : ctx.options.filters)
        criterion = search::CombineCriteria(criterion, qt(filter));
    return criterion;
}

// The answers to the parameters of the request's source, from --param. A
// value its declared type refuses is a usage error; a parameter without a
// value fails as Access fails, naming what is missing.
std::optional<engine::sql::ParameterAnswers>
parameterAnswers(Context& ctx, const AccessDatabase& db, const QString& source, int& exitCode) {
    engine::sql::ParameterAnswers answers;
    for (const auto& [name, value] : ctx.options.params)
        answers.set(name, value);
    std::vector<std::string> missing;
    for (const auto& parameter : db.parameters(source.toStdString(), ctx.read)) {
        const std::string* answer = answers.find(parameter.name);
        if (!answer) {
            missing.push_back(parameter.name);
        } else if (!engine::sql::convertAnswer(parameter.type, *answer)) {
            ctx.err << "quarix-cli: "
                    << engine::sql::invalidAnswerMessage(parameter.name, parameter.type) << "\n";
            exitCode = UsageError;
            return std::nullopt;
        }
    }
    if (!missing.empty()) {
        ctx.err << "quarix-cli: error 3061: Too few parameters. Expected " << missing.size()
                << ".\nGive each with --param \"NAME=VALUE\":";
        for (const std::string& name : missing)
            ctx.err << " \"" << name << "\"";
        ctx.err << "\n";
        exitCode = QueryError;
        return std::nullopt;
    }
    return answers;
}

// Prints what a request found: the count, or the rows of its page.
int printResults(Context& ctx, const AccessDatabase& db, const session::SearchRequest& request,
                 Format format) {
    const session::SearchResults found = session::runSearch(db, request, ctx.read);
    warn(ctx, found.result->warnings());
    if (ctx.options.count) {
        ctx.out << found.resultCount << '\n';
    } else {
        ResultCells rows(found.result);
        writeRows(ctx.out, rows, format, found.firstIndex, found.pageRows);
    }
    return found.resultCount == 0 ? NoRows : Success;
}

int runSearch(Context& ctx, const AccessDatabase& db) {
    const auto& a = ctx.options.arguments;
    int exitCode = Success;
    const auto criterion = searchCriterion(ctx, exitCode);
    if (!criterion)
        return exitCode;
    session::SearchRequest request;
    request.table = qt(a[1]);
    // A typed criterion names no field to order by.
    request.field = ctx.options.where.empty() ? qt(a[2]) : QString();
    request.criterion = *criterion;
    request.sortClause = qt(ctx.options.order);
    // Paged as the window pages: .accdb files, or whenever a page is asked for.
    request.paged = catalogue::isPagedDatabase(qt(a[0]), ctx.options.page.has_value());
    request.page = ctx.options.page.value_or(1) - 1;
    request.pageSize = ctx.options.page ? static_cast<int>(ctx.options.pageSize) : 0;
    auto answers = parameterAnswers(ctx, db, request.table, exitCode);
    if (!answers)
        return exitCode;
    request.answers = std::move(*answers);
    if (!ctx.options.xlsx.empty())
        return writeWorkbook(ctx, db, request);
    return printResults(ctx, db, request, ctx.format);
}

int dump(Context& ctx, const AccessDatabase& db) {
    session::SearchRequest request;
    request.table = qt(ctx.options.arguments[1]);
    request.criterion = qt(ctx.options.where);
    request.sortClause = qt(ctx.options.order);
    int exitCode = Success;
    auto answers = parameterAnswers(ctx, db, request.table, exitCode);
    if (!answers)
        return exitCode;
    request.answers = std::move(*answers);
    if (!ctx.options.xlsx.empty()) {
        const int code = writeWorkbook(ctx, db, request);
        return code == NoRows ? Success : code;
    }
    const int code = printResults(ctx, db, request, ctx.options.format.value_or(Format::Csv));
    return code == NoRows ? Success : code;
}

// The database, the disk or the reader failed, not what the user asked for.
bool isFileError(int number) {
    static const std::set<int> fileErrors = {
        engine::reader_errors::helperFailed, // the file reader could not run
        3024,                                // no such file
        3026,                                // disk full
        3031,                                // missing or wrong password
        3035,                                // the reader ran out of memory or was stopped
        3043,                                // disk error
        3044,                                // not a valid path
        3151,                                // a table linked to an ODBC source
        3049,                                // damaged cache
        3197,                                // the file changed while it was read
        3343,                                // damaged or unreadable database
    };
    return fileErrors.contains(number);
}

// The database whose searches asked for indexes.
std::shared_ptr<const engine::AccessDatabase>& indexesLeft() {
    static std::shared_ptr<const engine::AccessDatabase> db;
    return db;
}

} // namespace

void buildIndexesLeft() {
    if (!indexesLeft())
        return;
    try {
        indexesLeft()->buildIndexes();
    } catch (const EngineError&) {
        // Only the next search's speed depends on it.
    }
    indexesLeft().reset();
}

int runCommand(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const bool terminal = ::isatty(STDOUT_FILENO) && options.output.empty();
    Context ctx{
        options, out, err, options.format.value_or(terminal ? Format::Table : Format::Csv), {}};
    ctx.read.salvage = options.salvage;
    if (::isatty(STDERR_FILENO))
        ctx.read.progress = [](std::uint64_t done, std::uint64_t expected) {
            std::fprintf(stderr, "\rreading %llu of %llu rows\033[K",
                         static_cast<unsigned long long>(done),
                         static_cast<unsigned long long>(expected));
            if (done >= expected)
                std::fputs("\r\033[K", stderr);
        };
    try {
        const QString path = qt(options.arguments[0]);
        engine::Secret password;
        if (session::needsPassword(path)) {
            auto typed = readPassword(options.passwordStdin,
                                      QFileInfo(path).fileName().toLocal8Bit().constData());
            if (!typed) {
                err << "quarix-cli: error 3031: Not a valid password.\n"
                    << "The database is locked with a password: type it when asked, or give it "
                       "on standard input with --password-stdin.\n";
                return FileError;
            }
            password = session::passwordFrom(*typed);
        }
        const auto db = session::DatabaseHandle(path).open(password);
        const std::string& c = options.command;
        if (c == "tables" || c == "queries")
            return listNames(ctx, *db, c == "tables");
        if (c == "fields")
            return listFields(ctx, *db);
        if (c == "attachments")
            return listAttachments(options, *db, ctx.read, ctx.format, out, err);
        const int code = c == "values"   ? listValues(ctx, *db)
                         : c == "search" ? runSearch(ctx, *db)
                                         : dump(ctx, *db);
        if (db->wantsIndexes())
            indexesLeft() = db;
        return code;
    } catch (const EngineError& e) {
        err << "quarix-cli: error " << e.number() << ": " << e.description() << "\n";
        if (e.number() == 3059)
            return Cancelled;
        return isFileError(e.number()) ? FileError : QueryError;
    }
}

} // namespace quarix::cli
