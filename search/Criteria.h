#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quarix::search {

// The four choices of a search as the criteria boxes hold them, plus the
// database they apply to. Every field is the text as shown, untrimmed.
struct SearchCriteria {
    QString databasePath;
    QString table;
    QString field;
    QString op;
    QString value;
};

// A message the user must see instead of a result (text and title).
struct Refusal {
    QString message;
    QString title;
};

// A value the engine would fail to convert (a "$" value whose rest is not a
// number): reported like any engine failure of the search.
struct ConversionFailure {
    int number = 13;
    QString description = QStringLiteral("Type mismatch");
};

// A criterion, or why none could be built.
struct BuildResult {
    QString text;
    std::optional<Refusal> refusal;
    std::optional<ConversionFailure> failure;

    bool ok() const { return !refusal && !failure; }
};

// The operator captions in the order the operator box offers them.
const QStringList& operatorCaptions();

// The criterion (the part after WHERE) for one field, operator and value.
BuildResult BuildCriterion(const SearchCriteria& criteria);

// previous + " AND " + next, no parentheses added.
QString CombineCriteria(const QString& previous, const QString& next);

// "[field] ASC".
QString DefaultSortClause(const QString& field);

// The operator-and-value fragment that SQL mode pastes after a value pick;
// empty text (and no refusal) when there is nothing to paste.
BuildResult BuildSqlModeFragment(const QString& op, const QString& value);

// Access names cannot hold a closing bracket: a field name that does is
// no field of any table.
bool isFieldName(const QString& name);
ConversionFailure noSuchField(const QString& name);

// The refusal for a numeric operator given a value that is not a number.
Refusal numericOperatorRefusal(const QString& op);

// Text inside single quotes in Access SQL: each quote doubled.
QString quoteText(const QString& value);

// Whether the text parses as a finite number (surrounding blanks allowed).
bool isNumeric(const QString& text);

} // namespace quarix::search
