#include "app/cli/CliOptions.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace quarix::cli {

namespace {

const std::map<std::string, std::string> commandHelp = {
    {"tables", "Usage: quarix-cli tables FILE [--all] [--format F] [--output FILE]\n"
               "Lists the tables as the window lists them; --all adds system tables.\n"},
    {"queries", "Usage: quarix-cli queries FILE [--all] [--format F] [--output FILE]\n"
                "Lists the saved queries with their kind and their SQL as rebuilt from the\n"
                "file; --all adds hidden ones (~sq_).\n"},
    {"fields", "Usage: quarix-cli fields FILE TABLE [--format F] [--output FILE]\n"
               "Lists the fields of a table or saved query with their types.\n"},
    {"values", "Usage: quarix-cli values FILE TABLE FIELD [--max N] [--format F] [--output FILE]\n"
               "Lists the distinct values of a field in ascending order (the value pick list).\n"},
    {"search",
     "Usage: quarix-cli search FILE TABLE FIELD OPERATOR VALUE [options]\n"
     "       quarix-cli search FILE TABLE --where CRITERION [options]\n"
     "Runs a search as the window does. OPERATOR is one of the window's captions\n"
     "(\"Contains\", \"Begins\", \"Not Contain\", \"Equals\", \"<> Not\", \"> Greater\",\n"
     "\"< Less\", \">=\", \"<=\") or contains, begins, not-contains, eq, ne, gt, lt, ge, le.\n"
     "  --where CRITERION   a typed Access SQL criterion instead of FIELD OPERATOR VALUE\n"
     "  --and CRITERION     a further filter (may be repeated)\n"
     "  --order ORDER       ORDER BY list, e.g. \"[Name] DESC\" (default: the field ascending)\n"
     "  --param NAME=VALUE  the value of a query's parameter, NAME as Access's prompt\n"
     "                      shows it (may be repeated; an empty VALUE is Null)\n"
     "  --page N            show page N (from 1) of --page-size M rows (default 50)\n"
     "  --count             print only the number of matching rows\n"
     "  --format table|csv|json|jsonl, --output FILE\n"
     "  --xlsx FILE         write the rows as a spreadsheet workbook instead\n"},
    {"dump", "Usage: quarix-cli dump FILE NAME [--where CRITERION] [--order ORDER] [--count] "
             "[--param NAME=VALUE]... [--xlsx FILE]\n"
             "Prints every row of a table or saved query as CSV (or writes a workbook).\n"},
    {"attachments",
     "Usage: quarix-cli attachments FILE TABLE FIELD [--where CRITERION] [--output-dir DIR]\n"
     "Lists the files of an attachment field: the row (from 1, in the file's order), the\n"
     "file name and its size in bytes.\n"
     "  --where CRITERION   only the rows that meet a typed Access SQL criterion\n"
     "  --output-dir DIR    also write each file's exact bytes to DIR/ROW/NAME; names are\n"
     "                      made safe (no separators, no leading dot), links inside DIR\n"
     "                      are not followed and a file already there is never replaced\n"},
};

const char programHelp[] =
    "Usage: quarix-cli COMMAND FILE ... [options]\n"
    "Searches Microsoft Access databases (.mdb, .accdb) from a terminal.\n"
    "\n"
    "Commands:\n"
    "  tables FILE                    the tables of a database\n"
    "  queries FILE                   its saved queries\n"
    "  fields FILE TABLE              the fields of a table or query\n"
    "  values FILE TABLE FIELD        the distinct values of a field\n"
    "  search FILE TABLE FIELD OPERATOR VALUE   a search, as in the window\n"
    "  dump FILE NAME                 every row as CSV\n"
    "  attachments FILE TABLE FIELD   the files of an attachment field\n"
    "\n"
    "Every command takes --format table|csv|json|jsonl (table on a terminal,\n"
    "CSV otherwise), --output FILE and --help. quarix-cli --version prints the version.\n"
    "\n"
    "A query with parameters takes each value with --param \"NAME=VALUE\"\n"
    "(search and dump); a missing one fails with error 3061.\n"
    "\n"
    "A damaged table fails with error 3343 saying what could not be read;\n"
    "--salvage gives the rows that could be read, with that warning on\n"
    "standard error.\n"
    "\n"
    "A database locked with a password asks for it on the terminal, without\n"
    "echo; --password-stdin reads it from the first line of standard input.\n"
    "Passwords are never taken from the command line.\n"
    "\n"
    "Exit status: 0 success, 1 no rows matched (search only), 2 usage error,\n"
    "3 the database cannot be read, 4 the criterion, table or field is not valid,\n"
    "5 the output cannot be written, 130 cancelled.\n";

// Pages, page sizes and list lengths beyond this are no use to anyone.
constexpr long kLargestNumber = 2147483647;

const std::map<std::string, Format> formats = {{"table", Format::Table},
                                               {"csv", Format::Csv},
                                               {"json", Format::Json},
                                               {"jsonl", Format::JsonLines}};

} // namespace

std::string helpText(const std::string& command) {
    auto it = commandHelp.find(command);
    return it == commandHelp.end() ? programHelp : it->second;
}

ParseResult parseCommandLine(const std::vector<std::string>& args) {
    ParseResult result;
    CliOptions& o = result.options;
    auto fail = [&](const std::string& message) {
        result.error = message;
        return result;
    };
    if (args.empty())
        return fail("no command given");
    std::size_t i = 0;
    if (args[0] == "--version") {
        o.version = true;
        return result;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        o.help = true;
        if (args.size() > 1)
            o.command = args[1];
        return result;
    }
    o.command = args[i++];
    if (!commandHelp.count(o.command))
        return fail("unknown command '" + o.command + "'");

    auto value = [&](const std::string& name) -> std::optional<std::string> {
        if (i + 1 >= args.size())
            return std::nullopt;
        (void)name;
        return args[++i];
    };
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--salvage") {
            o.salvage = true;
        } else if (a == "--password-stdin") {
            o.passwordStdin = true;
        } else if (a == "--all") {
            o.all = true;
        } else if (a == "--count") {
            o.count = true;
        } else if (a == "--where" || a == "--and" || a == "--order" || a == "--output" ||
                   a == "--xlsx" || a == "--format" || a == "--max" || a == "--page" ||
                   a == "--page-size" || a == "--output-dir" || a == "--param") {
            auto v = value(a);
            if (!v)
                return fail(a + " needs a value");
            if (a == "--where")
                o.where = *v;
            else if (a == "--and")
                o.filters.push_back(*v);
            else if (a == "--order")
                o.order = *v;
            else if (a == "--param") {
                const auto equals = v->find('=');
                if (equals == std::string::npos || equals == 0)
                    return fail("--param needs NAME=VALUE, got '" + *v + "'");
                o.params.emplace_back(v->substr(0, equals), v->substr(equals + 1));
            } else if (a == "--output")
                o.output = *v;
            else if (a == "--xlsx")
                o.xlsx = *v;
            else if (a == "--output-dir")
                o.outputDir = *v;
            else if (a == "--format") {
                auto f = formats.find(*v);
                if (f == formats.end())
                    return fail("unknown format '" + *v + "' (table, csv, json or jsonl)");
                o.format = f->second;
            } else {
                const long lowest = a == "--max" ? 0 : 1;
                long n = 0;
                const auto [end, error] = std::from_chars(v->data(), v->data() + v->size(), n);
                if (v->empty() || error != std::errc() || end != v->data() + v->size() ||
                    n < lowest || n > kLargestNumber)
                    return fail(a + " needs a whole number from " + std::to_string(lowest) +
                                " to " + std::to_string(kLargestNumber));
                if (a == "--max")
                    o.max = static_cast<int>(n);
                else if (a == "--page")
                    o.page = n;
                else
                    o.pageSize = n;
            }
        } else if (a.size() > 2 && a.rfind("--", 0) == 0) {
            return fail("unknown option '" + a + "'");
        } else {
            o.arguments.push_back(a);
        }
    }
    if (o.help)
        return result;

    std::size_t wanted = 1;
    if (o.command == "fields" || o.command == "dump")
        wanted = 2;
    else if (o.command == "values" || o.command == "attachments")
        wanted = 3;
    else if (o.command == "search")
        wanted = o.where.empty() ? 5 : 2;
    if (o.arguments.size() != wanted)
        return fail(o.command + " needs " + std::to_string(wanted) + " argument" +
                    (wanted == 1 ? "" : "s") + ", got " + std::to_string(o.arguments.size()));
    return result;
}

} // namespace quarix::cli
