#include "app/cli/CliCommands.h"

#include "app/cli/ResultWriter.h"
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "engine/sql/AccessText.h"
#include "search/Criteria.h"
#include "tools/ExportRows.h"
#include "tools/XlsxExport.h"

#include <QString>

#include <cstdio>
#include <map>

#include <unistd.h>

namespace quarix::cli {

using engine::AccessDatabase;
using engine::ColumnType;
using engine::EngineError;
using engine::ResultSet;
using Kind = engine::StoredValue::Kind;

namespace {

// A result of the engine, printed row by row.
class ResultSource : public RowSource {
public:
    explicit ResultSource(std::shared_ptr<ResultSet> result) : result_(std::move(result)) {}

    std::vector<std::string> columns() const override {
        std::vector<std::string> names;
        for (const auto& c : result_->columns())
            names.push_back(c.name);
        return names;
    }
    std::int64_t rowCount() const override { return result_->rowCount(); }

    std::vector<Cell> row(std::int64_t index) override {
        const auto& values = result_->row(index);
        std::vector<Cell> cells;
        for (std::size_t c = 0; c < values.size(); ++c) {
            const ColumnType type =
                c < result_->columns().size() ? result_->columns()[c].type : ColumnType::Unknown;
            cells.push_back({text(type, c, values[c]), kindOf(type, values[c].kind)});
        }
        return cells;
    }

private:
    // Floating-point numbers as the window's datasheet shows them (7, 0.2).
    std::string text(ColumnType type, std::size_t column, const engine::OwnedValue& value) const {
        if (value.kind == Kind::Real && type == ColumnType::Single)
            return engine::sql::formatSingle(value.real);
        if (value.kind == Kind::Real && (type == ColumnType::Double || type == ColumnType::Unknown))
            return engine::sql::formatNumber(value.real);
        return result_->text(column, value);
    }

    static Cell::Kind kindOf(ColumnType type, Kind kind) {
        if (kind == Kind::Null)
            return Cell::Kind::Null;
        if (type == ColumnType::Boolean)
            return Cell::Kind::Boolean;
        if (type == ColumnType::DateTime || type == ColumnType::DateTimeExtended)
            return Cell::Kind::String;
        if (kind == Kind::Integer || kind == Kind::Real || type == ColumnType::Decimal)
            return Cell::Kind::Number;
        return Cell::Kind::String;
    }

    std::shared_ptr<ResultSet> result_;
};

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

std::string typeText(ColumnType type) {
    return engine::columnTypeName(type);
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

std::string bracketed(const std::string& name) {
    return "[" + name + "]";
}

bool endsWithAccdb(const std::string& path) {
    return QString::fromStdString(path).endsWith(QStringLiteral("ACCDB"), Qt::CaseInsensitive);
}

struct Context {
    const CliOptions& options;
    std::ostream& out;
    std::ostream& err;
    Format format;
    engine::ReadOptions read;
};

int listNames(Context& ctx, const AccessDatabase& db, bool tables) {
    ListSource list(tables ? std::vector<std::string>{"Name"}
                           : std::vector<std::string>{"Name", "Kind", "SQL"});
    if (tables) {
        for (const auto& t : db.catalogue().tables)
            if (ctx.options.all || (t.name.rfind("MSys", 0) != 0 && !engine::holdsComplexValues(t)))
                list.add({{t.name, Cell::Kind::String}});
    } else {
        for (const auto& q : db.catalogue().queries)
            if (ctx.options.all || q.name.rfind("~sq_", 0) != 0)
                list.add({{q.name, Cell::Kind::String},
                          {queryKindText(q.kind), Cell::Kind::String},
                          {db.savedQuerySql(q.name), Cell::Kind::String}});
    }
    writeRows(ctx.out, list, ctx.format);
    return Success;
}

int listFields(Context& ctx, const AccessDatabase& db) {
    ListSource list({"Name", "Type"});
    for (const auto& column : db.columns(ctx.options.arguments[1], ctx.read))
        list.add({{column.name, Cell::Kind::String}, {typeText(column.type), Cell::Kind::String}});
    writeRows(ctx.out, list, ctx.format);
    return Success;
}

int listValues(Context& ctx, const AccessDatabase& db) {
    const std::string& table = ctx.options.arguments[1];
    const std::string& field = ctx.options.arguments[2];
    auto result = db.execute("select DISTINCT " + bracketed(field) + " from " + bracketed(table) +
                                 " ORDER BY " + bracketed(field) + " ASC",
                             ctx.read);
    ListSource list({field});
    ResultSource rows(result);
    for (std::int64_t r = 0; r < result->rowCount(); ++r) {
        if (ctx.options.max && list.rowCount() >= *ctx.options.max)
            break;
        auto cells = rows.row(r);
        if (cells[0].kind != Cell::Kind::Null && !cells[0].text.empty())
            list.add({cells[0]});
    }
    writeRows(ctx.out, list, ctx.format);
    return Success;
}

// The rows of a statement as the window's export writes them.
int writeRowsAsWorkbook(Context& ctx, const std::string& statement, const std::string& sheet) {
    using namespace quarix::catalogue;
    Database db = DBEngine::instance().Workspaces(0).OpenDatabase(
        QString::fromStdString(ctx.options.arguments[0]));
    Recordset rs = db.OpenRecordset(QString::fromStdString(statement), dbOpenSnapshot);
    tools::RecordsetExportRows rows(std::move(db), std::move(rs));
    const auto result = tools::writeWorkbook(
        rows, {QString::fromStdString(ctx.options.xlsx), QString::fromStdString(sheet)});
    if (!result.ok) {
        ctx.err << "quarix-cli: cannot write '" << ctx.options.xlsx
                << "': " << result.error.toStdString() << "\n";
        return OutputError;
    }
    return result.rowsWritten == 0 ? NoRows : Success;
}

// The criterion of a search: built from field, operator and value as the
// window builds it, or typed; further filters are joined as the window's
// Filter button joins them.
std::optional<QString> searchCriterion(Context& ctx, int& exitCode) {
    const auto& a = ctx.options.arguments;
    QString criterion;
    if (!ctx.options.where.empty()) {
        criterion = QString::fromStdString(ctx.options.where);
    } else {
        search::SearchCriteria criteria{QString::fromStdString(a[0]), QString::fromStdString(a[1]),
                                        QString::fromStdString(a[2]), operatorCaption(a[3]),
                                        QString::fromStdString(a[4])};
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
        criterion = search::CombineCriteria(criterion, QString::fromStdString(filter));
    return criterion;
}

int runSearch(Context& ctx, const AccessDatabase& db) {
    const auto& a = ctx.options.arguments;
    int exitCode = Success;
    const auto criterion = searchCriterion(ctx, exitCode);
    if (!criterion)
        return exitCode;
    const bool typed = !ctx.options.where.empty();
    const QString table = QString::fromStdString(a[1]);
    QString statement = QStringLiteral("select * from [%1] WHERE %2").arg(table, *criterion);
    // Ordered as the window orders: by the chosen sort, else by the field in
    // paged mode (.accdb files, or any file shown a page at a time).
    if (!ctx.options.order.empty())
        statement += QStringLiteral(" ORDER BY ") + QString::fromStdString(ctx.options.order);
    else if (!typed && (endsWithAccdb(a[0]) || ctx.options.page))
        statement +=
            QStringLiteral(" ORDER BY ") + search::DefaultSortClause(QString::fromStdString(a[2]));
    if (!ctx.options.xlsx.empty())
        return writeRowsAsWorkbook(ctx, statement.toStdString(), a[1]);
    auto result = db.execute(statement.toStdString(), ctx.read);
    if (ctx.options.count) {
        ctx.out << result->rowCount() << '\n';
    } else {
        ResultSource rows(result);
        const std::int64_t size = ctx.options.pageSize;
        const std::int64_t first = ctx.options.page ? (*ctx.options.page - 1) * size : 0;
        writeRows(ctx.out, rows, ctx.format, first, ctx.options.page ? size : -1);
    }
    return result->rowCount() == 0 ? NoRows : Success;
}

int dump(Context& ctx, const AccessDatabase& db) {
    std::string statement = "SELECT * FROM " + bracketed(ctx.options.arguments[1]);
    if (!ctx.options.where.empty())
        statement += " WHERE " + ctx.options.where;
    if (!ctx.options.order.empty())
        statement += " ORDER BY " + ctx.options.order;
    if (!ctx.options.xlsx.empty()) {
        const int code = writeRowsAsWorkbook(ctx, statement, ctx.options.arguments[1]);
        return code == NoRows ? Success : code;
    }
    auto result = db.execute(statement, ctx.read);
    if (ctx.options.count) {
        ctx.out << result->rowCount() << '\n';
    } else {
        ResultSource rows(result);
        writeRows(ctx.out, rows, ctx.options.format.value_or(Format::Csv));
    }
    return Success;
}

bool isFileError(int number) {
    return number == 3024 || number == 3343 || number == 3031 || number == 3044;
}

} // namespace

int runCommand(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const bool terminal = ::isatty(STDOUT_FILENO) && options.output.empty();
    Context ctx{
        options, out, err, options.format.value_or(terminal ? Format::Table : Format::Csv), {}};
    if (::isatty(STDERR_FILENO))
        ctx.read.progress = [](std::uint64_t done, std::uint64_t expected) {
            std::fprintf(stderr, "\rreading %llu of %llu rows\033[K",
                         static_cast<unsigned long long>(done),
                         static_cast<unsigned long long>(expected));
            if (done >= expected)
                std::fputs("\r\033[K", stderr);
        };
    try {
        auto db = AccessDatabase::open(options.arguments[0]);
        const std::string& c = options.command;
        if (c == "tables" || c == "queries")
            return listNames(ctx, *db, c == "tables");
        if (c == "fields")
            return listFields(ctx, *db);
        if (c == "values")
            return listValues(ctx, *db);
        if (c == "search")
            return runSearch(ctx, *db);
        return dump(ctx, *db);
    } catch (const EngineError& e) {
        err << "quarix-cli: error " << e.number() << ": " << e.description() << "\n";
        if (e.number() == 3059)
            return Cancelled;
        return isFileError(e.number()) ? FileError : QueryError;
    }
}

} // namespace quarix::cli
