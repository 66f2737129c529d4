#include "engine/sql/FunctionCatalogue.h"

namespace quarix::engine::sql {

namespace {

using R = FunctionInfo::Result;
using T = ColumnType;

constexpr FunctionInfo kFunctions[] = {
    // Numbers
    {"int", "acc_int", 1, 1, "v", R::SameAsFirst, T::Double},
    {"fix", "acc_fix", 1, 1, "v", R::SameAsFirst, T::Double},
    {"abs", "acc_abs", 1, 1, "v", R::SameAsFirst, T::Double},
    {"sgn", "acc_sgn", 1, 1, "v", R::Fixed, T::Integer},
    {"sqr", "acc_sqr", 1, 1, "v", R::Fixed, T::Double},
    {"exp", "acc_exp", 1, 1, "v", R::Fixed, T::Double},
    {"log", "acc_log", 1, 1, "v", R::Fixed, T::Double},
    {"sin", "acc_sin", 1, 1, "v", R::Fixed, T::Double},
    {"cos", "acc_cos", 1, 1, "v", R::Fixed, T::Double},
    {"tan", "acc_tan", 1, 1, "v", R::Fixed, T::Double},
    {"atn", "acc_atn", 1, 1, "v", R::Fixed, T::Double},
    {"hex", "acc_hex", 1, 1, "a", R::Fixed, T::Text},
    {"oct", "acc_oct", 1, 1, "a", R::Fixed, T::Text},
    {"round", "acc_round", 1, 2, "v", R::SameAsFirst, T::Double},
    // Money
    {"pmt", "acc_pmt", 3, 5, "v", R::Fixed, T::Double},
    {"pv", "acc_pv", 3, 5, "v", R::Fixed, T::Double},
    {"fv", "acc_fv", 3, 5, "v", R::Fixed, T::Double},
    {"nper", "acc_nper", 3, 5, "v", R::Fixed, T::Double},
    {"rate", "acc_rate", 3, 6, "v", R::Fixed, T::Double},
    {"ipmt", "acc_ipmt", 4, 6, "v", R::Fixed, T::Double},
    {"ppmt", "acc_ppmt", 4, 6, "v", R::Fixed, T::Double},
    {"ddb", "acc_ddb", 4, 5, "v", R::Fixed, T::Double},
    {"sln", "acc_sln", 3, 3, "v", R::Fixed, T::Double},
    {"syd", "acc_syd", 4, 4, "v", R::Fixed, T::Double},
    // Conversions
    {"cbyte", "acc_cbyte", 1, 1, "v", R::Fixed, T::Byte},
    {"cint", "acc_cint", 1, 1, "v", R::Fixed, T::Integer},
    {"clng", "acc_clng", 1, 1, "v", R::Fixed, T::Long},
    {"cdbl", "acc_num", 1, 1, "v", R::Fixed, T::Double},
    {"csng", "acc_csng", 1, 1, "v", R::Fixed, T::Single},
    {"ccur", "acc_ccur", 1, 1, "v", R::Fixed, T::Currency},
    {"cdec", "acc_cdec", 1, 1, "v", R::Fixed, T::Decimal},
    {"cdate", "acc_cdate", 1, 1, "v", R::Fixed, T::DateTime},
    {"cvdate", "acc_cdate", 1, 1, "v", R::Fixed, T::DateTime},
    {"cbool", "acc_cbool", 1, 1, "v", R::Fixed, T::Boolean},
    {"val", "acc_val", 1, 1, "t", R::Fixed, T::Double},
    {"str", "acc_strfn", 1, 1, "a", R::Fixed, T::Text},
    {"format", "acc_format", 1, 4, "atvv", R::Fixed, T::Text},
    {"formatnumber", "acc_formatnumber", 1, 5, "v", R::Fixed, T::Text},
    {"formatpercent", "acc_formatpercent", 1, 5, "v", R::Fixed, T::Text},
    {"formatcurrency", "acc_formatcurrency", 1, 5, "v", R::Fixed, T::Text},
    {"formatdatetime", "acc_formatdatetime", 1, 2, "v", R::Fixed, T::Text},
    // Text
    {"len", "acc_len", 1, 1, "t", R::Fixed, T::Long},
    {"left", "acc_left", 2, 2, "tv", R::Fixed, T::Text},
    {"right", "acc_right", 2, 2, "tv", R::Fixed, T::Text},
    {"mid", "acc_mid", 2, 3, "tv", R::Fixed, T::Text},
    {"instr", "acc_instr", 2, 4, "vttv", R::Fixed, T::Long, true},
    {"instrrev", "acc_instrrev", 2, 4, "ttvv", R::Fixed, T::Long},
    {"strconv", "acc_strconv", 2, 3, "tvv", R::Fixed, T::Text},
    {"ucase", "acc_ucase", 1, 1, "t", R::Fixed, T::Text},
    {"upper", "acc_ucase", 1, 1, "t", R::Fixed, T::Text},
    {"lcase", "acc_lcase", 1, 1, "t", R::Fixed, T::Text},
    {"lower", "acc_lcase", 1, 1, "t", R::Fixed, T::Text},
    {"trim", "acc_trim", 1, 1, "t", R::Fixed, T::Text},
    {"ltrim", "acc_ltrim", 1, 1, "t", R::Fixed, T::Text},
    {"rtrim", "acc_rtrim", 1, 1, "t", R::Fixed, T::Text},
    {"space", "acc_space", 1, 1, "v", R::Fixed, T::Text},
    {"string", "acc_string", 2, 2, "v", R::Fixed, T::Text},
    {"replace", "acc_replace", 3, 6, "tttv", R::Fixed, T::Text},
    {"strcomp", "acc_strcomp", 2, 3, "ttv", R::Fixed, T::Integer},
    {"strreverse", "acc_strreverse", 1, 1, "t", R::Fixed, T::Text},
    {"chr", "acc_chr", 1, 1, "v", R::Fixed, T::Text},
    {"asc", "acc_asc", 1, 1, "t", R::Fixed, T::Integer},
    {"chrw", "acc_chrw", 1, 1, "v", R::Fixed, T::Text},
    {"ascw", "acc_ascw", 1, 1, "t", R::Fixed, T::Integer},
    // Tests
    {"isnumeric", "acc_isnumeric", 1, 1, "a", R::Fixed, T::Boolean},
    {"isdate", "acc_isdate", 1, 1, "a", R::Fixed, T::Boolean},
    // Dates
    {"year", "acc_year", 1, 1, "v", R::Fixed, T::Integer},
    {"month", "acc_month", 1, 1, "v", R::Fixed, T::Integer},
    {"day", "acc_day", 1, 1, "v", R::Fixed, T::Integer},
    {"hour", "acc_hour", 1, 1, "v", R::Fixed, T::Integer},
    {"minute", "acc_minute", 1, 1, "v", R::Fixed, T::Integer},
    {"second", "acc_second", 1, 1, "v", R::Fixed, T::Integer},
    {"weekday", "acc_weekday", 1, 2, "v", R::Fixed, T::Integer},
    {"dateadd", "acc_dateadd", 3, 3, "tvv", R::Fixed, T::DateTime},
    {"datediff", "acc_datediff", 3, 5, "tvvv", R::Fixed, T::Long},
    {"datepart", "acc_datepart", 2, 4, "tvv", R::Fixed, T::Integer},
    {"dateserial", "acc_dateserial", 3, 3, "v", R::Fixed, T::DateTime},
    {"timeserial", "acc_timeserial", 3, 3, "v", R::Fixed, T::DateTime},
    {"datevalue", "acc_datevalue", 1, 1, "v", R::Fixed, T::DateTime},
    {"timevalue", "acc_timevalue", 1, 1, "v", R::Fixed, T::DateTime},
    {"date", "acc_date", 0, 0, "v", R::Fixed, T::DateTime},
    {"now", "acc_now", 0, 0, "v", R::Fixed, T::DateTime},
    {"time", "acc_time", 0, 0, "v", R::Fixed, T::DateTime},
    {"date$", "acc_datetext", 0, 0, "v", R::Fixed, T::Text},
    {"time$", "acc_timetext", 0, 0, "v", R::Fixed, T::Text},
    {"monthname", "acc_monthname", 1, 2, "v", R::Fixed, T::Text},
    {"weekdayname", "acc_weekdayname", 1, 3, "v", R::Fixed, T::Text},
};

// The functions with a text form, name$, that gives a String and takes no Null.
constexpr std::string_view kTextForms[] = {"chr",   "chrw",   "format", "hex",   "lcase", "left",
                                           "ltrim", "mid",    "oct",    "right", "rtrim", "space",
                                           "str",   "string", "trim",   "ucase"};

} // namespace

bool isAggregateFunction(std::string_view lowerName) {
    for (std::string_view name :
         {"count", "sum", "avg", "min", "max", "first", "last", "stdev", "stdevp", "var", "varp"})
        if (lowerName == name)
            return true;
    return false;
}

bool hasTextForm(std::string_view lowerName) {
    for (std::string_view name : kTextForms)
        if (lowerName == name)
            return true;
    return false;
}

const FunctionInfo* findFunction(std::string_view lowerName) {
    for (const FunctionInfo& f : kFunctions)
        if (lowerName == f.name)
            return &f;
    return nullptr;
}

} // namespace quarix::engine::sql
