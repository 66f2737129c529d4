#pragma once

#include "engine/ColumnType.h"
#include "engine/EngineError.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quarix::engine::sql {

// A parameter a statement asks for before it runs: a name it declares in
// PARAMETERS, or a name that resolves to no field of its sources (form
// references such as Forms!Main!Since included: no form is ever open).
struct QueryParameter {
    std::string name; // as the prompt shows it: "Which City", "Forms!Main!Since"
    ColumnType type = ColumnType::Unknown; // declared type; Unknown when undeclared (taken as text)
    bool declared = false;
};

// A value bound to a statement's parameter, in the form the translated SQL
// reads it (numbers, serial dates, -1/0 for Yes/No, text).
struct BoundValue {
    enum class Kind { Null, Integer, Real, Text } kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0.0;
    std::string text;
};

// The answers a user gave, by parameter name (matched as Access matches
// names: without regard to case). An empty answer is Null.
class ParameterAnswers {
public:
    void set(const std::string& name, std::string answer);
    const std::string* find(std::string_view name) const;
    bool empty() const { return answers_.empty(); }
    const std::vector<std::pair<std::string, std::string>>& all() const { return answers_; }

private:
    std::vector<std::pair<std::string, std::string>> answers_;
};

// The type a PARAMETERS declaration names (Text, Long, YesNo, DateTime,
// Currency, IEEEDouble and their synonyms); Unknown for Value and for words
// Quarix does not know.
ColumnType declaredParameterType(std::string_view typeWord);

// The answer as the type takes it, or nothing when it does not convert
// ("abc" for a Long, 70000 for an Integer). An empty answer is Null.
std::optional<BoundValue> convertAnswer(ColumnType type, const std::string& answer);

// What a type takes, for the message that refuses an answer: "a whole
// number from -32,768 to 32,767", "a date", "Yes or No".
std::string parameterTypeDescription(ColumnType type);

// The message for an answer that does not convert.
std::string invalidAnswerMessage(const std::string& name, ColumnType type);

// 3421, as the engine refuses an answer that does not convert.
EngineError conversionError(const std::string& name, ColumnType type);

// A parameter's name as its prompt shows it: the text as written without
// brackets and blanks between parts ("[Forms]![Main]![Since]" gives
// "Forms!Main!Since").
std::string parameterPromptName(std::string_view written);

// The parameters of one run, collected while its statement and every saved
// query it reads are translated, and their values. Each parameter has one
// slot, read in the SQL as ?N (N = kFirstParameterSlot + its index), so
// that the statement's own ?1, ?2 stay free for positions.
class ParameterSet {
public:
    static constexpr int kFirstParameterSlot = 1001;

    ParameterSet() = default;
    explicit ParameterSet(ParameterAnswers answers) : answers_(std::move(answers)) {}

    // A PARAMETERS declaration. Throws 3421 when its answer does not convert.
    void declare(const std::string& name, ColumnType type);
    // A use of a name that is no field: the SQL that reads its value and its type.
    std::pair<std::string, ColumnType> use(const std::string& name);

    const std::vector<QueryParameter>& parameters() const { return parameters_; }
    // The value of each slot, in order; Null for a parameter without an answer.
    const std::vector<BoundValue>& values() const { return values_; }
    // Throws 3061 "Too few parameters. Expected N." when some have no answer.
    void requireAnswers() const;

private:
    std::size_t slotOf(const std::string& name, ColumnType type, bool declared);

    ParameterAnswers answers_;
    std::vector<QueryParameter> parameters_;
    std::vector<BoundValue> values_;
    std::size_t unanswered_ = 0;
};

} // namespace quarix::engine::sql
