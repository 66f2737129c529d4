// VBA's financial functions with its argument order and defaults: Pmt, PV,
// FV, NPer, Rate, IPmt, PPmt (rate per period, money paid out negative,
// type 0 = payments at the end of each period, 1 = at the start) and the
// depreciations DDB, SLN and SYD. Their arguments are Doubles: a Null is an
// error, and so is a question with no answer (invalid procedure call).
#include "engine/sql/functions/FunctionSupport.h"
#include "engine/sql/functions/Registration.h"

#include <cmath>
#include <initializer_list>
#include <optional>
#include <vector>

namespace quarix::engine::sql::fn {

namespace {

// The arguments as numbers, the absent ones taking their defaults
// (one default for each optional argument after `required`).
std::optional<std::vector<double>> arguments(sqlite3_context* ctx, int argc, sqlite3_value** argv,
                                             int required, std::initializer_list<double> defaults) {
    std::vector<double> out;
    for (int i = 0; i < argc; ++i) {
        if (isNull(argv[i])) {
            invalidUseOfNull(ctx);
            return std::nullopt;
        }
        double d = 0;
        if (!toNumber(ctx, argv[i], d))
            return std::nullopt;
        out.push_back(d);
    }
    for (auto it = defaults.begin() + (argc - required); it < defaults.end(); ++it)
        out.push_back(*it);
    return out;
}

void result(sqlite3_context* ctx, double value) {
    std::isfinite(value) ? sqlite3_result_double(ctx, value) : invalidArgument(ctx);
}

// The future value of a present value and payments, and its inverses.
double futureValue(double rate, double periods, double payment, double present, bool atStart) {
    if (rate == 0)
        return -(present + payment * periods);
    const double growth = std::pow(1 + rate, periods);
    return -(present * growth + payment * (1 + rate * (atStart ? 1 : 0)) * (growth - 1) / rate);
}

double presentValue(double rate, double periods, double payment, double future, bool atStart) {
    if (rate == 0)
        return -(future + payment * periods);
    const double growth = std::pow(1 + rate, periods);
    return -(future + payment * (1 + rate * (atStart ? 1 : 0)) * (growth - 1) / rate) / growth;
}

double payment(double rate, double periods, double present, double future, bool atStart) {
    if (periods == 0)
        return NAN;
    if (rate == 0)
        return -(present + future) / periods;
    const double growth = std::pow(1 + rate, periods);
    return -(future + present * growth) * rate / ((1 + rate * (atStart ? 1 : 0)) * (growth - 1));
}

// The interest part of payment number `period`.
double interestPart(double rate, double period, double periods, double present, double future,
                    bool atStart) {
    if (period < 1 || period > periods)
        return NAN;
    const double each = payment(rate, periods, present, future, atStart);
    if (rate == 0 || (atStart && period == 1))
        return 0;
    const double balance = futureValue(rate, period - 1, each, present, atStart);
    return atStart ? balance * rate / (1 + rate) : balance * rate;
}

void pmtFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (const auto a = arguments(ctx, argc, argv, 3, {0, 0}))
        result(ctx, payment((*a)[0], (*a)[1], (*a)[2], (*a)[3], (*a)[4] != 0));
}

void pvFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (const auto a = arguments(ctx, argc, argv, 3, {0, 0}))
        result(ctx, presentValue((*a)[0], (*a)[1], (*a)[2], (*a)[3], (*a)[4] != 0));
}

void fvFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (const auto a = arguments(ctx, argc, argv, 3, {0, 0}))
        result(ctx, futureValue((*a)[0], (*a)[1], (*a)[2], (*a)[3], (*a)[4] != 0));
}

// NPer(rate, pmt, pv [, fv [, type]])
void nperFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const auto a = arguments(ctx, argc, argv, 3, {0, 0});
    if (!a)
        return;
    const double rate = (*a)[0], each = (*a)[1], present = (*a)[2], future = (*a)[3];
    if (rate == 0)
        return each == 0 ? invalidArgument(ctx) : result(ctx, -(present + future) / each);
    const double perPeriod = each * (1 + rate * ((*a)[4] != 0 ? 1 : 0)) / rate;
    const double ratio = (perPeriod - future) / (perPeriod + present);
    if (ratio <= 0 || rate <= -1)
        return invalidArgument(ctx);
    result(ctx, std::log(ratio) / std::log(1 + rate));
}

// Rate(nper, pmt, pv [, fv [, type [, guess]]]) by Newton's method from the
// guess; like VBA it gives up after 20 steps short of 0.00001 percent.
void rateFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const auto a = arguments(ctx, argc, argv, 3, {0, 0, 0.1});
    if (!a)
        return;
    const double n = (*a)[0], each = (*a)[1], present = (*a)[2], future = (*a)[3];
    const double t = (*a)[4] != 0 ? 1 : 0;
    if (n <= 0)
        return invalidArgument(ctx);
    double rate = (*a)[5];
    for (int step = 0; step < 20; ++step) {
        double value = 0, slope = 0;
        if (std::fabs(rate) < 1e-10) {
            value = present + each * n + future;
            slope = present * n + each * (n * (n - 1) / 2 + t * n);
        } else {
            const double growth = std::pow(1 + rate, n),
                         growthSlope = n * std::pow(1 + rate, n - 1);
            value = present * growth + each * (1 + rate * t) * (growth - 1) / rate + future;
            slope = present * growthSlope +
                    each * (t * (growth - 1) / rate +
                            (1 + rate * t) * (growthSlope * rate - (growth - 1)) / (rate * rate));
        }
        if (slope == 0 || !std::isfinite(value) || !std::isfinite(slope))
            break;
        const double next = rate - value / slope;
        if (!std::isfinite(next) || next <= -1)
            break;
        if (std::fabs(next - rate) < 1e-7)
            return sqlite3_result_double(ctx, next);
        rate = next;
    }
    invalidArgument(ctx);
}

// IPmt and PPmt(rate, per, nper, pv [, fv [, type]])
void ipmtFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (const auto a = arguments(ctx, argc, argv, 4, {0, 0}))
        result(ctx, interestPart((*a)[0], (*a)[1], (*a)[2], (*a)[3], (*a)[4], (*a)[5] != 0));
}

void ppmtFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (const auto a = arguments(ctx, argc, argv, 4, {0, 0})) {
        const bool atStart = (*a)[5] != 0;
        result(ctx, payment((*a)[0], (*a)[2], (*a)[3], (*a)[4], atStart) -
                        interestPart((*a)[0], (*a)[1], (*a)[2], (*a)[3], (*a)[4], atStart));
    }
}

// DDB(cost, salvage, life, period [, factor]): declining balance, never
// below the salvage value.
void ddbFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const auto a = arguments(ctx, argc, argv, 4, {2});
    if (!a)
        return;
    const double cost = (*a)[0], salvage = (*a)[1], life = (*a)[2], factor = (*a)[4];
    if (cost < 0 || salvage < 0 || life <= 0 || (*a)[3] <= 0 || (*a)[3] > life || factor <= 0)
        return invalidArgument(ctx);
    const double period = std::max((*a)[3], 1.0); // a part of the first period is the first
    const double rate = std::min(factor / life, 1.0);
    const double before =
        cost * (1 - std::pow(1 - rate, period - 1)); // depreciated in earlier periods
    result(ctx, std::min((cost - before) * rate, std::max(0.0, cost - salvage - before)));
}

// SLN(cost, salvage, life): straight line.
void slnFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const auto a = arguments(ctx, argc, argv, 3, {});
    if (!a)
        return;
    if ((*a)[2] == 0)
        return invalidArgument(ctx);
    result(ctx, ((*a)[0] - (*a)[1]) / (*a)[2]);
}

// SYD(cost, salvage, life, period): sum of the years' digits.
void sydFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    const auto a = arguments(ctx, argc, argv, 4, {});
    if (!a)
        return;
    const double cost = (*a)[0], salvage = (*a)[1], life = (*a)[2], period = (*a)[3];
    if (life <= 0 || period <= 0 || period > life)
        return invalidArgument(ctx);
    result(ctx, (cost - salvage) * (life - period + 1) * 2 / (life * (life + 1)));
}

} // namespace

void registerFinancialFunctions(sqlite3* db) {
    define(db, "acc_pmt", -1, pmtFn);
    define(db, "acc_pv", -1, pvFn);
    define(db, "acc_fv", -1, fvFn);
    define(db, "acc_nper", -1, nperFn);
    define(db, "acc_rate", -1, rateFn);
    define(db, "acc_ipmt", -1, ipmtFn);
    define(db, "acc_ppmt", -1, ppmtFn);
    define(db, "acc_ddb", -1, ddbFn);
    define(db, "acc_sln", -1, slnFn);
    define(db, "acc_syd", -1, sydFn);
}

} // namespace quarix::engine::sql::fn
