#include "search/RunPlan.h"

#include <gtest/gtest.h>

using namespace quarix::search;

namespace {

RunInputs contains(const char* field, const char* value) {
    return RunInputs{{QStringLiteral("/db.mdb"), QStringLiteral("T"), QString::fromUtf8(field),
                      QStringLiteral("Contains"), QString::fromUtf8(value)},
                     {},
                     false};
}

// One run as the window does it: plan, then record the engine's answer.
QString run(SearchState& s, const RunInputs& in, long rows = 5) {
    const BuildResult r = planRun(s, in);
    if (!r.ok())
        return QStringLiteral("<refused>");
    recordSuccess(s, r.text, rows);
    recordRowsShown(s, rows);
    return r.text;
}

TEST(RunPlan, FiltersStackAndUndoReturnsToTheFirstSearch) {
    SearchState s;
    EXPECT_EQ(run(s, contains("A", "a")), QStringLiteral("[A] Like '*a*'"));
    s.SearchMode = SearchState::Filter;
    EXPECT_EQ(run(s, contains("B", "b")), QStringLiteral("[A] Like '*a*' AND [B] Like '*b*'"));
    s.SearchMode = SearchState::Filter;
    EXPECT_EQ(run(s, contains("C", "c")),
              QStringLiteral("[A] Like '*a*' AND [B] Like '*b*' AND [C] Like '*c*'"));
    EXPECT_EQ(s.SavedWhere, QStringLiteral("[A] Like '*a*'"));
    s.SearchMode = SearchState::UndoFilter;
    EXPECT_EQ(run(s, contains("C", "c")), QStringLiteral("[A] Like '*a*'"));
    EXPECT_TRUE(s.SavedWhere.isEmpty());
    EXPECT_EQ(s.SearchMode, SearchState::NewSearch);
}

TEST(RunPlan, UndoAfterANewSearchStillReturnsToTheSearchBeforeTheFilters) {
    SearchState s;
    run(s, contains("A", "a"));
    s.SearchMode = SearchState::Filter;
    run(s, contains("B", "b"));
    run(s, contains("D", "d"));
    s.SearchMode = SearchState::UndoFilter;
    EXPECT_EQ(run(s, contains("D", "d")), QStringLiteral("[A] Like '*a*'"));
}

TEST(RunPlan, UndoWithNothingToUndoShowsEveryRecord) {
    SearchState s;
    run(s, contains("A", "a"));
    s.SearchMode = SearchState::UndoFilter;
    EXPECT_EQ(run(s, contains("A", "a")), everyRecordCriterion());
}

TEST(RunPlan, UndoIsRefusedLikeASearchWhenTheBoxesAreInvalid) {
    SearchState s;
    run(s, contains("A", "a"));
    s.SearchMode = SearchState::Filter;
    run(s, contains("B", "b"));
    s.SearchMode = SearchState::UndoFilter;
    RunInputs bad = contains("A", "abc");
    bad.criteria.op = QStringLiteral("> Greater");
    const BuildResult r = planRun(s, bad);
    ASSERT_TRUE(r.refusal.has_value());
    EXPECT_EQ(s.SavedWhere, QStringLiteral("[A] Like '*a*'"));
    EXPECT_EQ(s.SearchMode, SearchState::UndoFilter);
}

TEST(RunPlan, AnEmptyFilterKeepsFilteringUntilRowsAreShown) {
    SearchState s;
    run(s, contains("A", "a"));
    s.SearchMode = SearchState::Filter;
    run(s, contains("B", "zzz"), 0);
    EXPECT_EQ(s.SearchMode, SearchState::Filter);
    EXPECT_EQ(run(s, contains("C", "c")),
              QStringLiteral("[A] Like '*a*' AND [B] Like '*zzz*' AND [C] Like '*c*'"));
    EXPECT_EQ(s.SearchMode, SearchState::NewSearch);
}

TEST(RunPlan, AFailedRunMakesTheNextFilterStandAlone) {
    SearchState s;
    run(s, contains("A", "a"));
    recordFailure(s);
    s.SearchMode = SearchState::Filter;
    EXPECT_EQ(run(s, contains("B", "b")), QStringLiteral("[B] Like '*b*'"));
}

TEST(RunPlan, SqlTextRunsAsTypedInSqlMode) {
    SearchState s;
    RunInputs in = contains("A", "a");
    in.sqlText = QStringLiteral("[Age] > 30 OR [Age] < 5");
    EXPECT_EQ(run(s, in), QStringLiteral("[A] Like '*a*'"));
    in.sqlMode = true;
    EXPECT_EQ(run(s, in), QStringLiteral("[Age] > 30 OR [Age] < 5"));
}

TEST(RunPlan, ReplayRunsTheStoredCriterion) {
    SearchState s;
    s.ReplayPending = true;
    s.CurrentWhere = QStringLiteral("[X] Like 'y*'");
    RunInputs in = contains("A", "a");
    in.sqlText = s.CurrentWhere;
    EXPECT_EQ(run(s, in), QStringLiteral("[X] Like 'y*'"));
    EXPECT_FALSE(s.ReplayPending);
}

TEST(RunPlan, RerunKeepsThePageUnlessTheBoxesChanged) {
    SearchState s;
    run(s, contains("A", "a"));
    s.CurrentPage = 2;
    s.SearchMode = SearchState::Rerun;
    EXPECT_EQ(run(s, contains("A", "a")), QStringLiteral("[A] Like '*a*'"));
    EXPECT_EQ(s.CurrentPage, 2);
    s.SearchMode = SearchState::Rerun;
    run(s, contains("A", "b"));
    EXPECT_EQ(s.CurrentPage, 0);
}

} // namespace
