#include "engine/sql/Translator.h"

#include "engine/sql/AccessErrors.h"
#include "engine/sql/Parser.h"
#include "engine/sql/QueryTranslator.h"

namespace quarix::engine::sql {

TranslatedQuery translateSelect(const std::string& accessSql, SchemaLookup& schema,
                                ParameterSet& parameters) {
    Parser parser(accessSql);
    const Query query = parser.parseStatement();
    for (const QueryParameter& declared : query.parameters)
        parameters.declare(declared.name, declared.type);
    TranslationContext context{schema, accessSql, 0, parameters};
    TranslatedQuery result = translateQuery(context, query, nullptr);
    result.parameters = parameters.values();
    return result;
}

TranslatedQuery translateSelect(const std::string& accessSql, SchemaLookup& schema) {
    ParameterSet parameters;
    TranslatedQuery result = translateSelect(accessSql, schema, parameters);
    parameters.requireAnswers();
    return result;
}

TranslatedQuery translateFilter(const std::string& sourceName, const std::string& criterion,
                                SchemaLookup& schema, ParameterSet& parameters) {
    Parser parser(criterion);
    Query query;
    SelectCore core;
    SelectItem all;
    all.expr = std::make_unique<Expr>();
    all.expr->kind = Expr::Kind::Star;
    core.items.push_back(std::move(all));
    auto from = std::make_unique<FromNode>();
    from->name = sourceName;
    core.from.push_back(std::move(from));
    core.where = parser.parseCriterion();
    query.selects.push_back(std::move(core));
    TranslationContext context{schema, criterion, 0, parameters};
    TranslatedQuery result = translateQuery(context, query, nullptr);
    result.parameters = parameters.values();
    return result;
}

TranslatedQuery translateFilter(const std::string& sourceName, const std::string& criterion,
                                SchemaLookup& schema) {
    ParameterSet parameters;
    TranslatedQuery result = translateFilter(sourceName, criterion, schema, parameters);
    parameters.requireAnswers();
    return result;
}

std::optional<EngineError> engineErrorFromMessage(const std::string& message) {
    // SQLite's own limits on the depth and size of a statement.
    for (const char* limit :
         {"parser stack overflow", "Expression tree is too large", "too many terms in compound",
          "too many FROM clause terms", "at most 64 tables in a join",
          "too many arguments on function", "string or blob too big", "too many SQL variables"})
        if (message.rfind(limit, 0) == 0)
            return errors::tooComplex();
    if (message.rfind("too many columns", 0) == 0)
        return errors::tooManyFields();
    const std::string prefix = kRuntimeErrorPrefix;
    if (message.rfind(prefix, 0) != 0)
        return std::nullopt;
    const auto colon = message.find(':', prefix.size());
    if (colon == std::string::npos)
        return std::nullopt;
    try {
        const int number = std::stoi(message.substr(prefix.size(), colon - prefix.size()));
        return EngineError(number, message.substr(colon + 1));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace quarix::engine::sql
