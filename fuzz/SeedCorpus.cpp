// Writes the seed inputs that come from the fixtures' saved queries: their
// MSysQueries rows for fuzz_query_rows and their rebuilt SQL for
// fuzz_access_sql. Usage: fuzz-seeds OUTPUT_FOLDER ACCESS_FILE...
#include "engine/EngineError.h"
#include "engine/queries/SavedQueries.h"
#include "engine/reader/AccessFileReader.h"
#include "fuzz/QueryRowsCodec.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>

namespace fs = std::filesystem;
using namespace quarix;

namespace {

void writeSeed(const fs::path& folder, const std::string& name, const std::string& bytes) {
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

int writeSeedsOf(const fs::path& output, const std::string& path) {
    const engine::Catalogue catalogue = engine::AccessFileReader::readCatalogue(path);
    const std::vector<engine::MSysQueryRow> rows = engine::readMSysQueries(path, catalogue);
    std::map<std::int32_t, fuzz::EncodedQuery> byQuery;
    for (const engine::MSysQueryRow& row : rows)
        byQuery[row.objectId].rows.push_back(row);
    for (const engine::QueryInfo& query : catalogue.queries)
        byQuery[query.id].kind = static_cast<int>(query.kind);

    const std::string stem = fs::path(path).stem().string();
    int written = 0;
    for (const auto& [id, query] : byQuery)
        writeSeed(output / "query_rows", stem + "-" + std::to_string(written++),
                  fuzz::encodeQueryRows(query));
    int index = 0;
    for (const engine::SavedQuery& query : engine::rebuildSavedQueries(catalogue, rows))
        if (!query.sql.empty())
            writeSeed(output / "access_sql", stem + "-" + std::to_string(index++),
                      std::string(1, '\0') + query.sql);
    return written + index;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: fuzz-seeds OUTPUT_FOLDER ACCESS_FILE...\n";
        return 2;
    }
    int seeds = 0;
    for (int i = 2; i < argc; ++i) {
        try {
            seeds += writeSeedsOf(argv[1], argv[i]);
        } catch (const engine::EngineError& e) {
            std::cerr << argv[i] << ": " << e.what() << '\n';
            return 1;
        }
    }
    std::cout << seeds << " seeds from saved queries\n";
    return 0;
}
