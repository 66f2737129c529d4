#include "engine/queries/FromClause.h"

#include "engine/queries/SqlNames.h"

#include <algorithm>

namespace quarix::engine {

namespace {

// Access allows 32 tables in a query; many more only come from damage, and
// the nesting depth of the join text grows with the count.
constexpr std::size_t MaxTables = 255;

// A table or a join of two sources: a binary tree kept in one vector.
struct Source {
    std::string text;               // a table: its FROM text
    std::vector<std::string> names; // the table names or aliases inside
    int left = -1, right = -1;      // a join: its two sides
    int kind = 0;
    std::vector<std::string> conditions;

    bool isJoin() const { return left >= 0; }
    bool holds(const std::string& name) const {
        return std::any_of(names.begin(), names.end(),
                           [&](const std::string& n) { return sameName(n, name); });
    }
};

// Join kinds as stored in the join row's flag: 1 inner, 2 left, 3 right.
constexpr const char* JoinWords[] = {" INNER JOIN ", " LEFT JOIN ", " RIGHT JOIN "};

bool knownJoinKind(int kind) {
    return kind >= 1 && kind <= 3;
}

Source tableSource(const MSysQueryRow& row) {
    Source source;
    if (row.name1 && !row.name1->empty()) {
        if (row.expression && !row.expression->empty()) {
            // A table in another database, named by its connect string.
            const auto& where = *row.expression;
            source.text =
                (where.front() == '[' ? where : "[" + where + "]") + "." + sqlName(*row.name1);
        } else {
            source.text = sqlName(*row.name1);
        }
    } else {
        source.text = "(" + required(row.expression, "a table's name") + ")";
        required(row.name2, "the alias of a subquery");
    }
    const bool aliased = row.name2 && !row.name2->empty();
    if (aliased)
        source.text += " AS " + sqlName(*row.name2);
    source.names.push_back(aliased ? *row.name2 : *row.name1);
    return source;
}

class JoinBuilder {
public:
    explicit JoinBuilder(const QueryRows& rows) {
        const auto tables = rows.all(attribute::Table);
        if (tables.size() > MaxTables)
            throw BadQueryRows("the query names too many tables");
        for (const auto* table : tables) {
            sources_.push_back(tableSource(*table));
            roots_.push_back(static_cast<int>(sources_.size()) - 1);
        }
        for (const auto* join : rows.all(attribute::Join))
            add(*join);
    }

    std::string text() const {
        std::string result;
        for (int root : roots_) {
            if (!result.empty())
                result += ", ";
            result += textOf(root, true);
        }
        return result;
    }

private:
    void add(const MSysQueryRow& join) {
        const auto& from = required(join.name1, "the first table of a join");
        const auto& to = required(join.name2, "the second table of a join");
        const auto& condition = required(join.expression, "the ON condition of a join");
        if (!knownJoinKind(join.flag))
            throw BadQueryRows("unknown join kind " + std::to_string(join.flag));
        const auto fromRoot = rootHolding(from);
        const auto toRoot = rootHolding(to);
        if (fromRoot == toRoot) {
            addCondition(roots_[fromRoot], from, to, join.flag, condition);
            return;
        }
        Source joined;
        joined.left = roots_[fromRoot];
        joined.right = roots_[toRoot];
        joined.kind = join.flag;
        joined.conditions.push_back(condition);
        joined.names = sources_[joined.left].names;
        const auto& rightNames = sources_[joined.right].names;
        joined.names.insert(joined.names.end(), rightNames.begin(), rightNames.end());
        roots_.erase(roots_.begin() + static_cast<std::ptrdiff_t>(std::max(fromRoot, toRoot)));
        roots_.erase(roots_.begin() + static_cast<std::ptrdiff_t>(std::min(fromRoot, toRoot)));
        sources_.push_back(std::move(joined));
        roots_.push_back(static_cast<int>(sources_.size()) - 1);
    }

    std::size_t rootHolding(const std::string& name) const {
        for (std::size_t i = 0; i < roots_.size(); ++i) {
            if (sources_[roots_[i]].holds(name))
                return i;
        }
        throw BadQueryRows("a join names the unknown table " + name);
    }

    // A further condition between two tables already joined belongs to the
    // innermost join holding both.
    void addCondition(int node, const std::string& a, const std::string& b, int kind,
                      const std::string& condition) {
        while (sources_[node].isJoin()) {
            const auto& source = sources_[node];
            if (sources_[source.left].holds(a) && sources_[source.left].holds(b))
                node = source.left;
            else if (sources_[source.right].holds(a) && sources_[source.right].holds(b))
                node = source.right;
            else
                break;
        }
        auto& join = sources_[node];
        if (!join.isJoin())
            throw BadQueryRows("a join joins " + a + " with itself");
        if (join.kind != kind)
            throw BadQueryRows("inconsistent join kinds between " + a + " and " + b);
        join.conditions.push_back(condition);
    }

    std::string textOf(int node, bool topLevel) const {
        const auto& source = sources_[node];
        if (!source.isJoin())
            return source.text;
        std::string on = source.conditions.front();
        if (source.conditions.size() > 1) {
            on = "(" + on;
            for (std::size_t i = 1; i < source.conditions.size(); ++i)
                on += ") AND (" + source.conditions[i];
            on += ")";
        }
        auto text = textOf(source.left, false) + JoinWords[source.kind - 1] +
                    textOf(source.right, false) + " ON " + on;
        return topLevel ? text : "(" + text + ")";
    }

    std::vector<Source> sources_;
    std::vector<int> roots_; // the comma-separated items of the list, in order
};

} // namespace

std::string fromClause(const QueryRows& rows) {
    return JoinBuilder(rows).text();
}

} // namespace quarix::engine
