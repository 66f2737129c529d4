#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quarix::cli {

enum class Format { Table, Csv, Json, JsonLines };

// A parsed command line of quarix-cli.
struct CliOptions {
    std::string command; // tables, queries, fields, values, search, dump, attachments
    std::vector<std::string> arguments; // positional arguments after the command
    bool all = false;                   // list system and hidden names too
    std::optional<int> max;             // values --max
    std::string where;                  // a typed criterion (SQL mode)
    std::vector<std::string> filters;   // --and: stacked filters
    std::string order;                  // --order
    // --param "NAME=VALUE": the answers to a query's parameters, in order
    std::vector<std::pair<std::string, std::string>> params;
    std::optional<long> page; // 1-based
    long pageSize = 50;
    bool count = false;
    bool passwordStdin = false;   // the password is the first line of standard input
    bool salvage = false;         // a damaged table gives what can be read, with a warning
    std::optional<Format> format; // default: table on a terminal, CSV otherwise
    std::string output;           // --output FILE
    std::string xlsx;             // --xlsx FILE: the rows as a spreadsheet workbook
    std::string outputDir;        // attachments --output-dir DIR: where the files go
    bool help = false;
    bool version = false;
};

struct ParseResult {
    CliOptions options;
    std::string error; // a usage error, empty when the line parsed
};

ParseResult parseCommandLine(const std::vector<std::string>& args);

// The help text of a command, or of the program when command is empty.
std::string helpText(const std::string& command);

} // namespace quarix::cli
