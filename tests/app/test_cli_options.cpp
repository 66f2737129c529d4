#include "app/cli/CliOptions.h"
#include "app/cli/ResultWriter.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace quarix::cli;

TEST(CliOptions, UsageErrorsAreExplained) {
    EXPECT_NE(parseCommandLine({}).error, "");
    EXPECT_NE(parseCommandLine({"frobnicate", "f.mdb"}).error.find("unknown command"),
              std::string::npos);
    EXPECT_NE(parseCommandLine({"tables"}).error.find("needs 1 argument"), std::string::npos);
    EXPECT_NE(parseCommandLine({"search", "f.mdb", "T", "F", "Contains"}).error, "");
    EXPECT_NE(parseCommandLine({"tables", "f.mdb", "--format", "xml"}).error.find("unknown format"),
              std::string::npos);
    EXPECT_NE(parseCommandLine({"search", "f", "T", "--where", "x", "--page", "0"}).error, "");
    EXPECT_NE(parseCommandLine({"values", "f", "T", "F", "--max"}).error.find("needs a value"),
              std::string::npos);
    EXPECT_NE(parseCommandLine({"tables", "f", "--bogus"}).error.find("unknown option"),
              std::string::npos);
}

TEST(CliOptions, HelpAndVersion) {
    EXPECT_TRUE(parseCommandLine({"--version"}).options.version);
    auto help = parseCommandLine({"search", "--help"});
    EXPECT_TRUE(help.options.help);
    EXPECT_NE(helpText("search").find("OPERATOR"), std::string::npos);
    EXPECT_NE(helpText("").find("Exit status"), std::string::npos);
}

TEST(ResultWriter, EachFormatQuotesAndTypesValues) {
    ListSource rows({"Name", "Age", "Active"});
    rows.add({{"O'Brien, \"Pat\"", Cell::Kind::String},
              {"42", Cell::Kind::Number},
              {"True", Cell::Kind::Boolean}});
    rows.add({{"", Cell::Kind::String}, {"", Cell::Kind::Null}, {"False", Cell::Kind::Boolean}});

    std::ostringstream csv, json, jsonl, table;
    writeRows(csv, rows, Format::Csv);
    EXPECT_EQ(csv.str(), "Name,Age,Active\r\n\"O'Brien, \"\"Pat\"\"\",42,True\r\n\"\",,False\r\n");
    writeRows(json, rows, Format::Json);
    EXPECT_EQ(json.str(), "[\n{\"Name\":\"O'Brien, \\\"Pat\\\"\",\"Age\":42,\"Active\":true},\n"
                          "{\"Name\":\"\",\"Age\":null,\"Active\":false}\n]\n");
    writeRows(jsonl, rows, Format::JsonLines, 1, 1);
    EXPECT_EQ(jsonl.str(), "{\"Name\":\"\",\"Age\":null,\"Active\":false}\n");
    writeRows(table, rows, Format::Table);
    EXPECT_EQ(table.str(), "Name            Age  Active\n"
                           "--------------  ---  ------\n"
                           "O'Brien, \"Pat\"  42   True\n"
                           "                     False\n");
}
