#pragma once

#include "engine/sql/Ast.h"
#include "engine/sql/TranslationScope.h"
#include "engine/sql/Translator.h"

namespace quarix::engine::sql {

// Translates a parsed query (a SELECT or a UNION of SELECTs) within a
// statement. parent is the enclosing scope of a correlated subquery.
TranslatedQuery translateQuery(TranslationContext& context, const Query& query,
                               const Scope* parent);

} // namespace quarix::engine::sql
