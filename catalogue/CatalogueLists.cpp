#include "catalogue/CatalogueLists.h"

#include "catalogue/CatalogueNames.h"
#include "engine/EngineError.h"
#include "search/Criteria.h"
#include "search/Statements.h"

namespace quarix::catalogue {

namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

bool listedTable(const engine::TableInfo& table, bool all) {
    return all || (!isHiddenTable(qt(table.name)) && !engine::holdsComplexValues(table));
}

} // namespace

QStringList objectNames(const engine::AccessDatabase& db, const QString& kind, bool all) {
    QStringList names;
    if (kind == kTableKind) {
        for (const auto& table : db.catalogue().tables)
            if (listedTable(table, all))
                names << qt(table.name);
    } else if (kind == kQueryKind) {
        for (const auto& query : db.catalogue().queries)
            if (all || !isHiddenQuery(qt(query.name)))
                names << qt(query.name);
    }
    return names;
}

std::vector<SavedQueryListing> savedQueries(const engine::AccessDatabase& db, bool all) {
    std::vector<SavedQueryListing> queries;
    for (const auto& query : db.catalogue().queries)
        if (all || !isHiddenQuery(qt(query.name)))
            queries.push_back({qt(query.name), query.kind, qt(db.savedQuerySql(query.name))});
    return queries;
}

std::vector<FieldDef> fieldDefs(const engine::AccessDatabase& db, const QString& source,
                                const engine::ReadOptions& options) {
    std::vector<FieldDef> fields;
    for (const auto& column : db.columns(source.toStdString(), options))
        fields.push_back({qt(column.name), column.type});
    return fields;
}

QStringList fieldNames(const engine::AccessDatabase& db, const QString& source,
                       const engine::ReadOptions& options) {
    QStringList names;
    for (const FieldDef& field : fieldDefs(db, source, options))
        names << field.name;
    return names;
}

QStringList distinctValues(const engine::AccessDatabase& db, const QString& table,
                           const QString& field, long limit, const engine::ReadOptions& options,
                           std::vector<std::string>* warnings) {
    if (!fieldNames(db, table, options).contains(field, Qt::CaseInsensitive)) {
        const auto missing = search::noSuchField(field);
        throw engine::EngineError(missing.number, missing.description.toStdString());
    }
    // A text field's list stops at its length without sorting every value.
    if (limit >= 0) {
        if (auto texts = db.firstDistinctTexts(table.toStdString(), field.toStdString(),
                                               static_cast<std::size_t>(limit), options)) {
            if (warnings)
                *warnings = std::move(texts->warnings);
            QStringList values;
            for (const std::string& text : texts->values)
                values << qt(text);
            return values;
        }
    }
    const auto result = db.execute(search::ValueListStatement(table, field).toStdString(), options);
    if (warnings)
        *warnings = result->warnings();
    QStringList values;
    QString previous;
    for (std::int64_t row = 0; row < result->rowCount(); ++row) {
        if (limit >= 0 && values.size() >= limit)
            break;
        const engine::OwnedValue& value = result->row(row).at(0);
        const QString text = qt(result->text(0, value));
        // Values that show alike (a Double and its Single twin) are offered once.
        if (!text.isEmpty() && text != previous)
            values << text;
        previous = text;
    }
    return values;
}

} // namespace quarix::catalogue
