// Aggregates Access has and SQLite lacks: First, Last, StDev, StDevP, Var, VarP.
#include "engine/sql/functions/FunctionSupport.h"
#include "engine/sql/functions/Registration.h"

#include <cmath>

namespace quarix::engine::sql::fn {

namespace {

struct Kept {
    sqlite3_value* value;
    bool seen;
};

void keepFirst(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* k = static_cast<Kept*>(sqlite3_aggregate_context(ctx, sizeof(Kept)));
    if (k && !k->seen) {
        k->value = sqlite3_value_dup(argv[0]);
        k->seen = true;
    }
}

void keepLast(sqlite3_context* ctx, int, sqlite3_value** argv) {
    auto* k = static_cast<Kept*>(sqlite3_aggregate_context(ctx, sizeof(Kept)));
    if (!k)
        return;
    sqlite3_value_free(k->value);
    k->value = sqlite3_value_dup(argv[0]);
    k->seen = true;
}

void kept(sqlite3_context* ctx) {
    auto* k = static_cast<Kept*>(sqlite3_aggregate_context(ctx, 0));
    if (!k || !k->value)
        return sqlite3_result_null(ctx);
    sqlite3_result_value(ctx, k->value);
    sqlite3_value_free(k->value);
    k->value = nullptr;
}

// Welford's running mean and sum of squared deviations.
struct Spread {
    long long count;
    double mean;
    double squares;
};

void spreadStep(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (isNull(argv[0]))
        return;
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, sizeof(Spread)));
    if (!s)
        return;
    const double x = sqlite3_value_double(argv[0]);
    ++s->count;
    const double delta = x - s->mean;
    s->mean += delta / static_cast<double>(s->count);
    s->squares += delta * (x - s->mean);
}

void spreadResult(sqlite3_context* ctx, bool sample, bool root) {
    auto* s = static_cast<Spread*>(sqlite3_aggregate_context(ctx, 0));
    const long long n = s ? s->count : 0;
    if (n < (sample ? 2 : 1))
        return sqlite3_result_null(ctx);
    const double variance = s->squares / static_cast<double>(sample ? n - 1 : n);
    sqlite3_result_double(ctx, root ? std::sqrt(variance) : variance);
}

void stdevFinal(sqlite3_context* ctx) {
    spreadResult(ctx, true, true);
}
void stdevpFinal(sqlite3_context* ctx) {
    spreadResult(ctx, false, true);
}
void varFinal(sqlite3_context* ctx) {
    spreadResult(ctx, true, false);
}
void varpFinal(sqlite3_context* ctx) {
    spreadResult(ctx, false, false);
}

void aggregate(sqlite3* db, const char* name, ScalarFunction step,
               void (*final)(sqlite3_context*)) {
    sqlite3_create_function_v2(db, name, 1, SQLITE_UTF8 | SQLITE_INNOCUOUS | SQLITE_DETERMINISTIC,
                               nullptr, nullptr, step, final, nullptr);
}

} // namespace

void registerAggregateFunctions(sqlite3* db) {
    aggregate(db, "acc_first", keepFirst, kept);
    aggregate(db, "acc_last", keepLast, kept);
    aggregate(db, "acc_stdev", spreadStep, stdevFinal);
    aggregate(db, "acc_stdevp", spreadStep, stdevpFinal);
    aggregate(db, "acc_var", spreadStep, varFinal);
    aggregate(db, "acc_varp", spreadStep, varpFinal);
}

} // namespace quarix::engine::sql::fn
