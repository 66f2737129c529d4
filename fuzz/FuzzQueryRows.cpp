// Rebuilds a saved query's SQL from MSysQueries rows decoded from the input:
// any rows must give SQL or a reason, never a crash or a hang.
#include "engine/queries/QuerySql.h"
#include "fuzz/QueryRowsCodec.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quarix;
    fuzz::EncodedQuery query = fuzz::decodeQueryRows({data, size});
    const auto kind = static_cast<engine::QueryKind>(query.kind);
    const engine::SavedQuery rebuilt = engine::rebuildQuery("Fuzzed", kind, std::move(query.rows));
    // Exactly one of the two is set.
    if (rebuilt.sql.empty() == rebuilt.error.empty())
        std::abort();
    return 0;
}
