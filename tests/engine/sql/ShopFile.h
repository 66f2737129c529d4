#pragma once

#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
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

    // Every row of a result, its values as the grid shows them joined by "|".
    static std::vector<std::string> rows(engine::ResultSet& result) {
        std::vector<std::string> out;
        for (std::int64_t r = 0; r < result.rowCount(); ++r) {
            std::string line;
            const auto& values = result.row(r);
            for (std::size_t c = 0; c < values.size(); ++c)
                line += (c ? "|" : "") + result.text(c, values[c]);
            out.push_back(line);
        }
        return out;
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

// The number and text of the EngineError a call throws; "none" if it throws none.
template <typename F> std::string engineErrorOf(F&& call) {
    try {
        call();
    } catch (const engine::EngineError& e) {
        return std::to_string(e.number()) + " " + e.description();
    }
    return "none";
}

} // namespace quarix::test
