#pragma once

#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/ResultRowsText.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quarix::test {

// A test file of tests/data (shop.accdb unless named), opened through the
// engine with its cache in a scratch folder of the suite's own.
class ShopFile : public ::testing::TestWithParam<std::string> {
protected:
    static void SetUpTestSuite() {
        dir_ = scratchDir("sql-on-files");
        ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }

    engine::AccessDatabase& db() {
        if (!db_)
            db_ = engine::AccessDatabase::open(dataFile(GetParam()));
        return *db_;
    }

    // The column names of a result, joined by ",".
    static std::string names(const std::vector<engine::sql::ResultColumn>& columns) {
        std::string out;
        for (const auto& c : columns)
            out += (out.empty() ? "" : ",") + c.name;
        return out;
    }

private:
    inline static std::filesystem::path dir_;
    std::shared_ptr<engine::AccessDatabase> db_;
};

} // namespace quarix::test
