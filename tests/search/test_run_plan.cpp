#include "search/RunPlan.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

using namespace quarix::search;

namespace {

RunInputs contains(const char* field, const char* value) {
    return RunInputs{
        {u"/db.mdb"_s, u"T"_s, QString::fromUtf8(field), u"Contains"_s, QString::fromUtf8(value)},
        {},
        false};
}

// One run as the window does it: plan, then record the engine's answer.
QString run(SearchState& s, const RunInputs& in, long rows = 5) {
    const BuildResult r = planRun(s, in);
    if (!r.ok())
        return u"<refused>"_s;
    recordSuccess(s, r.text, rows);
    recordRowsShown(s, rows);
    return r.text;
}

TEST(RunPlan, FiltersStackAndUndoReturnsToTheFirstSearch) {
    SearchState s;
    EXPECT_EQ(run(s, contains("A", "a")), u"[A] Like '*a*'"_s);
    s.SearchMode = SearchState::Filter;
    EXPECT_EQ(run(s, contains("B", "b")), u"[A] Like '*a*' AND [B] Like '*b*'"_s);
    s.SearchMode = SearchState::Filter;
    EXPECT_EQ(run(s, contains("C", "c")),
              u"[A] Like '*a*' AND [B] Like '*b*' AND [C] Like '*c*'"_s);
    EXPECT_EQ(s.SavedWhere, u"[A] Like '*a*'"_s);
    s.SearchMode = SearchState::UndoFilter;
    // Boxes a search would refuse refuse the undo too, and keep the filters.
    RunInputs bad = contains("C", "abc");
    bad.criteria.op = u"> Greater"_s;
    ASSERT_TRUE(planRun(s, bad).refusal.has_value());
    EXPECT_EQ(s.SavedWhere, u"[A] Like '*a*'"_s);
    EXPECT_EQ(s.SearchMode, SearchState::UndoFilter);
    EXPECT_EQ(run(s, contains("C", "c")), u"[A] Like '*a*'"_s);
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
    EXPECT_EQ(run(s, contains("D", "d")), u"[A] Like '*a*'"_s);
}

TEST(RunPlan, UndoWithNothingToUndoShowsEveryRecord) {
    SearchState s;
    run(s, contains("A", "a"));
    s.SearchMode = SearchState::UndoFilter;
    EXPECT_EQ(run(s, contains("A", "a")), everyRecordCriterion());
}

TEST(RunPlan, AnEmptyFilterKeepsFilteringUntilRowsAreShown) {
    SearchState s;
    run(s, contains("A", "a"));
    s.SearchMode = SearchState::Filter;
    run(s, contains("B", "zzz"), 0);
    EXPECT_EQ(s.SearchMode, SearchState::Filter);
    EXPECT_EQ(run(s, contains("C", "c")),
              u"[A] Like '*a*' AND [B] Like '*zzz*' AND [C] Like '*c*'"_s);
    EXPECT_EQ(s.SearchMode, SearchState::NewSearch);
}

TEST(RunPlan, AFailedRunMakesTheNextFilterStandAlone) {
    SearchState s;
    run(s, contains("A", "a"));
    recordFailure(s);
    s.SearchMode = SearchState::Filter;
    EXPECT_EQ(run(s, contains("B", "b")), u"[B] Like '*b*'"_s);
}

TEST(RunPlan, SqlTextRunsAsTypedInSqlMode) {
    SearchState s;
    RunInputs in = contains("A", "a");
    in.sqlText = u"[Age] > 30 OR [Age] < 5"_s;
    EXPECT_EQ(run(s, in), u"[A] Like '*a*'"_s);
    in.sqlMode = true;
    EXPECT_EQ(run(s, in), u"[Age] > 30 OR [Age] < 5"_s);
}

TEST(RunPlan, ReplayRunsTheStoredCriterion) {
    SearchState s;
    s.ReplayPending = true;
    s.CurrentWhere = u"[X] Like 'y*'"_s;
    RunInputs in = contains("A", "a");
    in.sqlText = s.CurrentWhere;
    EXPECT_EQ(run(s, in), u"[X] Like 'y*'"_s);
    EXPECT_FALSE(s.ReplayPending);
}

TEST(RunPlan, RerunKeepsThePageUnlessTheBoxesChanged) {
    SearchState s;
    run(s, contains("A", "a"));
    s.CurrentPage = 2;
    s.SearchMode = SearchState::Rerun;
    EXPECT_EQ(run(s, contains("A", "a")), u"[A] Like '*a*'"_s);
    EXPECT_EQ(s.CurrentPage, 2);
    s.SearchMode = SearchState::Rerun;
    run(s, contains("A", "b"));
    EXPECT_EQ(s.CurrentPage, 0);
}

} // namespace
