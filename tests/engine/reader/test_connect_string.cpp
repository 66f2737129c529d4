#include "engine/reader/ConnectString.h"

#include <gtest/gtest.h>

using quarix::engine::withoutPassword;

namespace {

class ConnectString : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(ConnectString, BlanksEveryPassword) {
    EXPECT_EQ(withoutPassword(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ConnectString,
    testing::Values(std::pair{"ODBC;DSN=Sales;UID=me;PWD=secret;APP=Access",
                              "ODBC;DSN=Sales;UID=me;PWD=;APP=Access"},
                    std::pair{"DSN=Sales;pwd=secret", "DSN=Sales;pwd="},
                    std::pair{"DSN=Sales;Password=secret;", "DSN=Sales;Password=;"},
                    std::pair{"DSN=Sales;PWD={se;cret};UID=me", "DSN=Sales;PWD=;UID=me"},
                    std::pair{"DSN=Sales;UID=me", "DSN=Sales;UID=me"}, std::pair{"", ""}));

} // namespace
