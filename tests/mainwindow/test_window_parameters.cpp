#include "MainWindowFixture.h"
#include "tests/support/LongParameterCopy.h"

using namespace Qt::StringLiterals;

namespace {

using quarix::platform::ParameterPrompt;

class ParameterWindowTest : public MainWindowTest {
protected:
    // Opens the shop file on the parameter query, its fields listed.
    void openParameterQuery() {
        open("shop.mdb");
        choose("City Parameter", "Name", "Contains", "");
    }
    void search() {
        window->cmdQuarix_Click();
        settle();
    }
    static std::vector<QString> prompts() { return ParameterPrompt::shown(); }
};

TEST_F(ParameterWindowTest, AsksForEachParameterAndSearchesWithTheAnswer) {
    REQUIRE_ENGINE();
    openParameterQuery();
    // Its fields list without asking, and no Open dialog appears.
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(quarix::platform::FileDialog::shown().size(), 1u);
    EXPECT_GT(box("CmbField")->count(), 5);
    EXPECT_TRUE(prompts().empty());

    ParameterPrompt::queueAnswer(u"london"_s);
    search();
    EXPECT_EQ(prompts(), std::vector<QString>{u"Which City"_s});
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(dataRows(), 22);

    // A filter narrows the results on screen: no new question.
    filter("City Parameter", "Age", "> Greater", "40");
    EXPECT_EQ(prompts().size(), 1u);
    EXPECT_GT(dataRows(), 0);
    EXPECT_LT(dataRows(), 22);
}

TEST_F(ParameterWindowTest, AReplayAsksAgainAndCancelStopsQuietly) {
    REQUIRE_ENGINE();
    openParameterQuery();
    ParameterPrompt::queueAnswer(u"London"_s);
    search();
    ASSERT_EQ(dataRows(), 22);
    // An empty answer is Null, which no city equals.
    ParameterPrompt::queueAnswer(QString());
    window->mnulast_Click(0);
    settle();
    EXPECT_EQ(prompts().size(), 2u);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(dataRows(), 0);

    ParameterPrompt::queueAnswer(u"London"_s);
    search();
    ASSERT_EQ(dataRows(), 22);
    ParameterPrompt::queueAnswer(std::nullopt);
    search();
    EXPECT_EQ(prompts().size(), 4u);
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(dataRows(), 0);
    EXPECT_TRUE(window->searchState.CurrentWhere.isEmpty());
}

TEST_F(ParameterWindowTest, AValueTheTypeRefusesIsSaidAndAskedAgain) {
    REQUIRE_ENGINE();
    const QString path = copyOf("shop.mdb") + u".long.mdb"_s;
    quarix::test::writeLongParameterCopy(quarix::test::dataFile("shop.mdb"), path.toStdString());
    openThroughDialog(path);
    choose("City Parameter", "City", "Contains", "o");
    ParameterPrompt::queueAnswer(u"London"_s);
    ParameterPrompt::queueAnswer(u"7"_s);
    search();
    EXPECT_EQ(prompts().size(), 2u);
    // The refusal, then the search itself: a Long compared with text names fails as in Access.
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_TRUE(messages().front().text.contains(u"'Which City'"_s));
    EXPECT_TRUE(messages().front().text.contains(u"whole number"_s));
    EXPECT_TRUE(messages().back().text.contains(u"3464"_s));
}

} // namespace
