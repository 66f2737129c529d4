#include "search/Criteria.h"

#include <QLocale>

#include <cmath>

namespace quarix::search {

namespace {

const QString kContains = QStringLiteral("Contains");
const QString kBegins = QStringLiteral("Begins");
const QString kNotContain = QStringLiteral("Not Contain");
const QString kEquals = QStringLiteral("Equals");
const QString kNot = QStringLiteral("<> Not");
const QString kGreater = QStringLiteral("> Greater");
const QString kLess = QStringLiteral("< Less");
const QString kAtLeast = QStringLiteral(">=");
const QString kAtMost = QStringLiteral("<=");

std::optional<double> parseNumber(const QString& text) {
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

// The comparison sign of a numeric operator, empty for the others.
QString comparisonSign(const QString& op) {
    if (op == kGreater)
        return QStringLiteral(">");
    if (op == kLess)
        return QStringLiteral("<");
    if (op == kAtLeast)
        return QStringLiteral(">=");
    if (op == kAtMost)
        return QStringLiteral("<=");
    if (op == kNot)
        return QStringLiteral("<>");
    return {};
}

BuildResult criterion(QString text) {
    return BuildResult{std::move(text), std::nullopt, std::nullopt};
}

} // namespace

const QStringList& operatorCaptions() {
    static const QStringList captions{kContains, kBegins, kNotContain, kEquals, kNot,
                                      kGreater,  kLess,   kAtLeast,    kAtMost};
    return captions;
}

bool isNumeric(const QString& text) {
    return parseNumber(text).has_value();
}

QString quoteText(const QString& value) {
    QString quoted = value;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return quoted;
}

bool isFieldName(const QString& name) {
    return !name.contains(QLatin1Char(']'));
}

ConversionFailure noSuchField(const QString& name) {
    return {3265, QStringLiteral("There is no field named '%1'.").arg(name)};
}

Refusal numericOperatorRefusal(const QString& op) {
    return Refusal{QStringLiteral("The ") + op + QStringLiteral(" operator requires a number."),
                   QStringLiteral("Quarix - Search Error")};
}

BuildResult BuildCriterion(const SearchCriteria& criteria) {
    // A bracket would end the name early and let the rest of it be SQL.
    if (!isFieldName(criteria.field))
        return BuildResult{{}, std::nullopt, noSuchField(criteria.field)};
    const QString f = QLatin1Char('[') + criteria.field + QLatin1Char(']');
    QString v = criteria.value.trimmed();
    const QString& op = criteria.op;

    if (op == kContains)
        return criterion(f + QStringLiteral(" Like '*") + quoteText(v) + QStringLiteral("*'"));
    if (op == kBegins)
        return criterion(f + QStringLiteral(" Like '") + quoteText(v) + QStringLiteral("*'"));
    if (op == kEquals)
        return criterion(f + QStringLiteral(" Like '") + quoteText(v) + QLatin1Char('\''));
    if (op == kNotContain)
        return criterion(f + QStringLiteral(" Not Like '*") + quoteText(v) + QStringLiteral("*'"));

    const QString sign = comparisonSign(op);
    if (sign.isEmpty())
        return criterion({});

    bool numeric = false;
    if (v.startsWith(QLatin1Char('$'))) {
        const auto amount = parseNumber(v.mid(1));
        if (!amount)
            return BuildResult{{}, std::nullopt, ConversionFailure{}};
        v = QString::number(std::floor(*amount), 'f', 0);
        numeric = true;
    } else {
        numeric = isNumeric(v);
    }

    if (numeric)
        return criterion(QStringLiteral("Int(") + f + QStringLiteral(") ") + sign +
                         QLatin1Char(' ') + v);
    if (op == kNot)
        return criterion(f + QStringLiteral(" <> '") + quoteText(v) + QLatin1Char('\''));
    return BuildResult{{}, numericOperatorRefusal(op), std::nullopt};
}

QString CombineCriteria(const QString& previous, const QString& next) {
    return previous + QStringLiteral(" AND ") + next;
}

QString DefaultSortClause(const QString& field) {
    return QLatin1Char('[') + field + QStringLiteral("] ASC");
}

BuildResult BuildSqlModeFragment(const QString& op, const QString& value) {
    QString v = value.trimmed();
    bool numeric = isNumeric(v);
    if (value.contains(QLatin1Char('$'))) {
        const auto amount = parseNumber(v.mid(1));
        numeric = amount.has_value();
        if (numeric)
            v = QString::number(*amount, 'g', 15);
    }

    if (op == kBegins)
        return criterion(QStringLiteral(" Like '") + quoteText(v) + QStringLiteral("*'"));
    if (op == kContains)
        return criterion(QStringLiteral(" Like '*") + quoteText(v) + QStringLiteral("*'"));
    if (op == kEquals)
        return criterion(QStringLiteral(" Like '") + quoteText(v) + QLatin1Char('\''));
    if (op == kNotContain)
        return criterion(QStringLiteral(" Not Like '*") + quoteText(v) + QStringLiteral("*'"));

    const QString sign = comparisonSign(op);
    if (sign.isEmpty())
        return criterion({});
    if (numeric)
        return criterion(QLatin1Char(' ') + sign + QLatin1Char(' ') + v);
    if (op == kNot)
        return criterion(QStringLiteral(" <> '") + quoteText(v) + QLatin1Char('\''));
    return BuildResult{{}, numericOperatorRefusal(op), std::nullopt};
}

} // namespace quarix::search
