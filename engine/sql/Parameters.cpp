#include "engine/sql/Parameters.h"

#include "engine/sql/AccessDate.h"
#include "engine/sql/AccessErrors.h"
#include "engine/sql/AccessText.h"

#include <cmath>
#include <limits>

namespace quarix::engine::sql {

void ParameterAnswers::set(const std::string& name, std::string answer) {
    for (auto& [known, value] : answers_)
        if (equalText(known, name)) {
            value = std::move(answer);
            return;
        }
    answers_.emplace_back(name, std::move(answer));
}

const std::string* ParameterAnswers::find(std::string_view name) const {
    for (const auto& [known, value] : answers_)
        if (equalText(known, name))
            return &value;
    return nullptr;
}

ColumnType declaredParameterType(std::string_view typeWord) {
    static const std::pair<const char*, ColumnType> words[] = {
        {"bit", ColumnType::Boolean},        {"yesno", ColumnType::Boolean},
        {"logical", ColumnType::Boolean},    {"logical1", ColumnType::Boolean},
        {"boolean", ColumnType::Boolean},    {"byte", ColumnType::Byte},
        {"integer1", ColumnType::Byte},      {"tinyint", ColumnType::Byte},
        {"short", ColumnType::Integer},      {"smallint", ColumnType::Integer},
        {"integer2", ColumnType::Integer},   {"long", ColumnType::Long},
        {"int", ColumnType::Long},           {"integer", ColumnType::Long},
        {"integer4", ColumnType::Long},      {"counter", ColumnType::Long},
        {"autoincrement", ColumnType::Long}, {"currency", ColumnType::Currency},
        {"money", ColumnType::Currency},     {"ieeesingle", ColumnType::Single},
        {"single", ColumnType::Single},      {"real", ColumnType::Single},
        {"float4", ColumnType::Single},      {"ieeedouble", ColumnType::Double},
        {"double", ColumnType::Double},      {"float", ColumnType::Double},
        {"float8", ColumnType::Double},      {"number", ColumnType::Double},
        {"decimal", ColumnType::Decimal},    {"numeric", ColumnType::Decimal},
        {"dec", ColumnType::Decimal},        {"datetime", ColumnType::DateTime},
        {"date", ColumnType::DateTime},      {"time", ColumnType::DateTime},
        {"timestamp", ColumnType::DateTime}, {"text", ColumnType::Text},
        {"char", ColumnType::Text},          {"varchar", ColumnType::Text},
        {"string", ColumnType::Text},        {"alphanumeric", ColumnType::Text},
        {"longtext", ColumnType::Memo},      {"memo", ColumnType::Memo},
        {"note", ColumnType::Memo},          {"binary", ColumnType::Binary},
        {"varbinary", ColumnType::Binary},   {"longbinary", ColumnType::Binary},
        {"oleobject", ColumnType::Binary},   {"general", ColumnType::Binary},
        {"guid", ColumnType::Guid},          {"uniqueidentifier", ColumnType::Guid},
    };
    for (const auto& [word, type] : words)
        if (equalText(typeWord, word))
            return type;
    return ColumnType::Unknown;
}

namespace {

BoundValue integerValue(std::int64_t v) {
    BoundValue b;
    b.kind = BoundValue::Kind::Integer;
    b.integer = v;
    return b;
}

BoundValue realValue(double v) {
    BoundValue b;
    b.kind = BoundValue::Kind::Real;
    b.real = v;
    return b;
}

BoundValue textValue(const std::string& v) {
    BoundValue b;
    b.kind = BoundValue::Kind::Text;
    b.text = v;
    return b;
}

// A whole number as Access converts one: rounded half to even, in range.
std::optional<BoundValue> wholeNumber(const std::string& answer, double low, double high) {
    double number = 0;
    if (!parseNumber(answer, number))
        return std::nullopt;
    const double rounded = std::nearbyint(number);
    if (!(rounded >= low && rounded <= high))
        return std::nullopt;
    return integerValue(static_cast<std::int64_t>(rounded));
}

std::optional<BoundValue> yesNo(const std::string& answer) {
    for (const char* yes : {"yes", "true", "on"})
        if (equalText(answer, yes))
            return integerValue(-1);
    for (const char* no : {"no", "false", "off"})
        if (equalText(answer, no))
            return integerValue(0);
    double number = 0;
    if (!parseNumber(answer, number))
        return std::nullopt;
    return integerValue(number != 0 ? -1 : 0);
}

std::optional<BoundValue> realNumber(const std::string& answer, double limit) {
    double number = 0;
    if (!parseNumber(answer, number) || !std::isfinite(number) || std::fabs(number) > limit)
        return std::nullopt;
    return realValue(number);
}

} // namespace

std::optional<BoundValue> convertAnswer(ColumnType type, const std::string& answer) {
    if (answer.empty())
        return BoundValue{};
    switch (type) {
    case ColumnType::Boolean:
        return yesNo(answer);
    case ColumnType::Byte:
        return wholeNumber(answer, 0, 255);
    case ColumnType::Integer:
        return wholeNumber(answer, -32768, 32767);
    case ColumnType::Long:
        return wholeNumber(answer, -2147483648.0, 2147483647.0);
    case ColumnType::BigInt:
        return wholeNumber(answer, -9.2e18, 9.2e18);
    case ColumnType::Currency:
        return realNumber(answer, 922337203685477.0);
    case ColumnType::Single:
        return realNumber(answer, std::numeric_limits<float>::max());
    case ColumnType::Double:
    case ColumnType::Decimal:
        return realNumber(answer, std::numeric_limits<double>::max());
    case ColumnType::DateTime:
    case ColumnType::DateTimeExtended:
        if (const auto serial = parseDateText(answer))
            return realValue(*serial);
        return std::nullopt;
    default:
        return textValue(answer);
    }
}

std::string parameterTypeDescription(ColumnType type) {
    switch (type) {
    case ColumnType::Boolean:
        return "Yes or No";
    case ColumnType::Byte:
        return "a whole number from 0 to 255";
    case ColumnType::Integer:
        return "a whole number from -32,768 to 32,767";
    case ColumnType::Long:
        return "a whole number from -2,147,483,648 to 2,147,483,647";
    case ColumnType::BigInt:
        return "a whole number";
    case ColumnType::Currency:
        return "an amount of money";
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::Decimal:
        return "a number";
    case ColumnType::DateTime:
    case ColumnType::DateTimeExtended:
        return "a date";
    default:
        return "text";
    }
}

std::string invalidAnswerMessage(const std::string& name, ColumnType type) {
    return "The value you entered isn't valid for the parameter '" + name + "': it takes " +
           parameterTypeDescription(type) + ".";
}

EngineError conversionError(const std::string& name, ColumnType type) {
    return EngineError(3421, "Data type conversion error. " + invalidAnswerMessage(name, type));
}

std::string parameterPromptName(std::string_view written) {
    std::string name;
    bool inBrackets = false;
    for (const char c : written) {
        if (c == '[' && !inBrackets)
            inBrackets = true;
        else if (c == ']' && inBrackets)
            inBrackets = false;
        else if (inBrackets || (c != ' ' && c != '\t' && c != '\r' && c != '\n'))
            name += c;
    }
    return name;
}

std::size_t ParameterSet::slotOf(const std::string& name, ColumnType type, bool declared) {
    for (std::size_t i = 0; i < parameters_.size(); ++i) {
        QueryParameter& known = parameters_[i];
        if (!equalText(known.name, name))
            continue;
        if (!declared || known.declared)
            return i;
        // A name used before a saved query read later declares it.
        known.type = type;
        known.declared = true;
        if (const std::string* answer = answers_.find(name)) {
            const auto value = convertAnswer(type, *answer);
            if (!value)
                throw conversionError(name, type);
            values_[i] = *value;
        }
        return i;
    }
    parameters_.push_back({name, type, declared});
    const std::string* answer = answers_.find(name);
    std::optional<BoundValue> value = BoundValue{};
    if (answer) {
        value = convertAnswer(type, *answer);
        if (!value)
            throw conversionError(name, type);
    } else {
        ++unanswered_;
    }
    values_.push_back(*value);
    return parameters_.size() - 1;
}

void ParameterSet::declare(const std::string& name, ColumnType type) {
    slotOf(name, type, true);
}

std::pair<std::string, ColumnType> ParameterSet::use(const std::string& name) {
    const std::size_t slot = slotOf(name, ColumnType::Unknown, false);
    ColumnType type = parameters_[slot].declared ? parameters_[slot].type : ColumnType::Text;
    switch (type) {
    case ColumnType::Decimal:
    case ColumnType::BigInt:
        type = ColumnType::Double;
        break;
    case ColumnType::DateTimeExtended:
        type = ColumnType::DateTime;
        break;
    case ColumnType::Unknown:
    case ColumnType::Binary:
    case ColumnType::OLE:
    case ColumnType::Guid:
    case ColumnType::Complex:
        type = ColumnType::Text;
        break;
    default:
        break;
    }
    return {"?" + std::to_string(kFirstParameterSlot + static_cast<int>(slot)), type};
}

void ParameterSet::requireAnswers() const {
    if (unanswered_ > 0)
        throw errors::tooFewParameters(unanswered_);
}

} // namespace quarix::engine::sql
