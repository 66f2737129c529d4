#include "app/quarix/LaunchArguments.h"

#include <gtest/gtest.h>

namespace {

struct Conversion {
    const char* argument;
    const char* expected;
};

class LaunchArguments : public ::testing::TestWithParam<Conversion> {};

TEST_P(LaunchArguments, FileUrisBecomePathsAndTheRestStays) {
    const QStringList converted = withLocalPaths({QString::fromUtf8(GetParam().argument)});
    ASSERT_EQ(converted.size(), 1);
    EXPECT_EQ(converted.front(), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, LaunchArguments,
    ::testing::Values(
        Conversion{"file:///home/ann/shop.accdb", "/home/ann/shop.accdb"},
        Conversion{"file:///home/ann/My%20Data/Sales.MDB", "/home/ann/My Data/Sales.MDB"},
        Conversion{"file:///tmp/%C3%85ngstr%C3%B6m%20%23%25.mdb", "/tmp/Ångström #%.mdb"},
        Conversion{"FILE:///tmp/shop.mdb", "/tmp/shop.mdb"},
        Conversion{"file://localhost/tmp/shop.mdb", "/tmp/shop.mdb"},
        // Not a local file: left for the window to report.
        Conversion{"file://server/share/shop.mdb", "file://server/share/shop.mdb"},
        Conversion{"sftp://server/home/ann/shop.mdb", "sftp://server/home/ann/shop.mdb"},
        Conversion{"https://example.org/shop.accdb", "https://example.org/shop.accdb"},
        // Paths and switches as given.
        Conversion{"/home/ann/My Data/Sales.mdb", "/home/ann/My Data/Sales.mdb"},
        Conversion{"/home/ann/100%.mdb", "/home/ann/100%.mdb"}, Conversion{"shop.mdb", "shop.mdb"},
        Conversion{"/K", "/K"}, Conversion{"/T-/Q-", "/T-/Q-"}, Conversion{"", ""}));

} // namespace
