// The financial functions with VBA's argument order, defaults and errors.
#include "ExpressionCases.h"

#include <cstdlib>

namespace quarix::test {
namespace {

class Financial : public ValueTest {};

TEST_P(Financial, GiveVbaResults) {
    check();
}

INSTANTIATE_TEST_SUITE_P(
    Annuities, Financial,
    ::testing::Values(
        ValueCase{"Round(Pmt(0.08 / 12, 10, 10000), 2)", "-1037.03"},
        ValueCase{"Round(Pmt(0.08 / 12, 10, 10000, 0, 1), 2)", "-1030.16"},
        ValueCase{"Pmt(0, 10, 1000)", "-100"}, ValueCase{"Pmt(0, 10, 1000, 500)", "-150"},
        ValueCase{"Pmt(0.1, 0, 1000)", "#5"},
        ValueCase{"Round(FV(0.06 / 12, 10, -200, -500, 1), 2)", "2581.4"},
        ValueCase{"Round(FV(0.005, 12, -100), 2)", "1233.56"},
        ValueCase{"FV(0, 12, -100, -1000)", "2200"},
        ValueCase{"Round(PV(0.08 / 12, 240, 500), 2)", "-59777.15"},
        ValueCase{"PV(0, 10, -100, 0)", "1000"},
        ValueCase{"Round(NPer(0.01, -100, -1000, 10000, 1), 6)", "59.673866"},
        ValueCase{"Round(NPer(0.01, -100, -1000, 10000), 6)", "60.082123"},
        ValueCase{"Round(NPer(0.01, -100, -1000), 6)", "-9.578594"},
        ValueCase{"NPer(0, -100, 1000)", "10"}, ValueCase{"NPer(0, 0, 1000)", "#5"},
        ValueCase{"NPer(0.01, -5, 1000)", "#5"},
        ValueCase{"Round(Rate(48, -200, 8000), 8)", "0.00770147"},
        ValueCase{"Round(Rate(48, -200, 8000, 0, 0, 0.02), 8)", "0.00770147"},
        ValueCase{"Round(Rate(10, -100, 1000, 0, 1), 6)", "0"},
        ValueCase{"Round(Rate(12, -100, 1000), 6)", "0.029229"},
        ValueCase{"Rate(10, 100, 100)", "#5"}, ValueCase{"Rate(0, -100, 1000)", "#5"},
        ValueCase{"Round(IPmt(0.1 / 12, 1, 36, 8000), 2)", "-66.67"},
        ValueCase{"Round(IPmt(0.1, 3, 3, 8000), 2)", "-292.45"},
        ValueCase{"IPmt(0.1, 1, 3, 8000, 0, 1)", "0"}, ValueCase{"IPmt(0.1, 4, 3, 8000)", "#5"},
        ValueCase{"IPmt(0.1, 0, 3, 8000)", "#5"},
        ValueCase{"Round(PPmt(0.1 / 12, 1, 24, 2000), 2)", "-75.62"},
        ValueCase{"Round(PPmt(0.08, 10, 10, 200000), 2)", "-27598.05"},
        ValueCase{"Pmt(Null, 10, 1000)", "#94"}, ValueCase{"Pmt('x', 10, 1000)", "#3464"},
        ValueCase{"Pmt('0', '10', '1000')", "-100"}, ValueCase{"Pmt(0.1, 10)", "#3075"}));

INSTANTIATE_TEST_SUITE_P(
    Depreciation, Financial,
    ::testing::Values(
        ValueCase{"Round(DDB(2400, 300, 3650, 1), 2)", "1.32"},
        ValueCase{"DDB(2400, 300, 10, 1)", "480"}, ValueCase{"DDB(2400, 300, 10, 0.1)", "480"},
        ValueCase{"DDB(2400, 300, 10, 0)", "#5"},
        ValueCase{"Round(DDB(2400, 300, 10, 10), 2)", "22.12"},
        ValueCase{"Round(DDB(2400, 300, 10, 2, 1.5), 2)", "306"},
        ValueCase{"DDB(2400, 300, 2, 1, 4)", "2100"}, ValueCase{"DDB(2400, 300, 2, 2, 4)", "0"},
        ValueCase{"DDB(2400, 300, 10, 11)", "#5"}, ValueCase{"DDB(2400, 300, 0, 1)", "#5"},
        ValueCase{"DDB(2400, 300, 10, 1, 0)", "#5"}, ValueCase{"SLN(30000, 7500, 10)", "2250"},
        ValueCase{"SLN(30000, 7500, 0)", "#5"},
        ValueCase{"Round(SYD(30000, 7500, 10, 1), 2)", "4090.91"},
        ValueCase{"Round(SYD(30000, 7500, 10, 10), 2)", "409.09"},
        ValueCase{"SYD(30000, 7500, 10, 11)", "#5"}, ValueCase{"SYD(30000, 7500, 10, 0)", "#5"}));

// Over a whole loan the principal parts repay the loan, and each
// payment splits into its interest and principal parts.
TEST(FinancialParts, AddUpToThePaymentsAndTheLoan) {
    SqlTestDatabase db;
    for (const char* type : {"0", "1"}) {
        const std::string loan = ", 12, 5000, 0, " + std::string(type) + ")";
        const double each = std::atof(db.eval("Pmt(0.01" + loan).c_str());
        double principal = 0;
        for (int period = 1; period <= 12; ++period) {
            const std::string at = "0.01, " + std::to_string(period) + loan;
            const double interest = std::atof(db.eval("IPmt(" + at).c_str());
            const double part = std::atof(db.eval("PPmt(" + at).c_str());
            EXPECT_NEAR(interest + part, each, 1e-9) << "type " << type << " period " << period;
            principal += part;
        }
        EXPECT_NEAR(principal, -5000, 1e-6) << "type " << type;
    }
}

} // namespace
} // namespace quarix::test
