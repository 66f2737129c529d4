#include "engine/DatabaseState.h"

#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "engine/LinkedFile.h"
#include "engine/cache/CacheErrors.h"
#include "engine/queries/SavedQueries.h"
#include "engine/reader/ReaderErrors.h"

#include <QString>

namespace quarix::engine {

std::shared_ptr<CacheFile> memoryCache(const std::string& path, const SourceStamp& stamp,
                                       std::uint64_t limitBytes, const EngineError& why) {
    return std::make_shared<CacheFile>(
        path, stamp, true, limitBytes, false,
        why.description() +
            " Quarix keeps this database's cache in memory instead: searches work as usual, "
            "but the tables read now are not kept for later.");
}

std::shared_ptr<CacheFile> openCache(const std::string& path, const SourceStamp& stamp,
                                     bool inMemory, std::uint64_t limitBytes, bool keptOffDisk) {
    if (keptOffDisk)
        return std::make_shared<CacheFile>(path, stamp, true, limitBytes, true);
    if (!inMemory) {
        try {
            return std::make_shared<CacheFile>(path, stamp, false, limitBytes);
        } catch (const CacheDiskError& e) {
            return memoryCache(path, stamp, limitBytes, e);
        } catch (const CacheDamaged& e) {
            return memoryCache(path, stamp, limitBytes, e);
        }
    }
    return std::make_shared<CacheFile>(path, stamp, true, limitBytes);
}

const std::vector<SavedQuery>& DatabaseState::savedQueries() {
    std::lock_guard lock(savedMutex);
    if (!saved) {
        auto rows = readMSysQueries(path, catalogue, readOptions());
        const SourceStamp& stamp = currentCache()->stamp();
        if (const auto now = SourceStamp::of(path, stamp.pages); now && *now != stamp)
            throw SourceChanged(path, *now);
        saved = rebuildSavedQueries(catalogue, std::move(rows));
    }
    return *saved;
}

std::shared_ptr<CacheFile> DatabaseState::currentCache() {
    std::lock_guard lock(cacheMutex);
    if (!cache->stillOnDisk())
        cache = openCache(path, cache->stamp(), false, cacheLimitBytes, cache->keptOffDisk());
    return cache;
}

void DatabaseState::replaceCache(std::shared_ptr<CacheFile> replacement) {
    std::lock_guard lock(cacheMutex);
    cache = std::move(replacement);
}

bool sameName(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

const TableInfo* findTable(const Catalogue& catalogue, const std::string& name) {
    for (const auto& table : catalogue.tables)
        if (sameName(table.name, name))
            return &table;
    return nullptr;
}

namespace {

// Files linked through files linked ... end here (a loop would not).
constexpr int kLongestLinkChain = 8;

} // namespace

LinkedTable DatabaseState::resolveLink(const TableInfo& table, int depth) {
    if (table.link.kind == LinkKind::Odbc)
        throw EngineError(3151, "ODBC--connection to '" + table.link.connect +
                                    "' failed. The table '" + table.name +
                                    "' is linked to this ODBC data source (its table '" +
                                    table.link.foreignName + "'), which Quarix cannot read.");
    if (depth >= kLongestLinkChain)
        throw EngineError(3000, "The table '" + table.name + "' is linked through more than " +
                                    std::to_string(kLongestLinkChain) +
                                    " files; Quarix does not follow it further.");
    const std::string file = linkedFilePath(table.link.database, path);
    std::shared_ptr<AccessDatabase> linked;
    try {
        linked = AccessDatabase::open(file);
    } catch (const EngineError& e) {
        if (e.number() != reader_errors::wrongPassword)
            throw;
        throw EngineError(e.number(), "Not a valid password. The table '" + table.name +
                                          "' is linked to '" + file +
                                          "', which needs a password that the link does not "
                                          "give; open that database itself instead.");
    }
    DatabaseState& there = *linked->state_;
    const TableInfo* foreign = findTable(there.catalogue, table.link.foreignName);
    if (!foreign)
        throw EngineError(3011, "The Microsoft Access database engine could not find the object '" +
                                    table.link.foreignName + "' in '" + file +
                                    "'. Make sure the object exists and that you spell its name "
                                    "and the path name correctly.");
    if (foreign->link.kind != LinkKind::None) {
        LinkedTable further = there.resolveLink(*foreign, depth + 1);
        further.info.name = table.name;
        return further;
    }
    if (foreign->columns.empty())
        throw reader_errors::tableDamagedError(foreign->name, file);
    LinkedTable resolved{*foreign, {file, foreign->name, there.currentCache()->stamp()}};
    resolved.info.name = table.name;
    return resolved;
}

SourceTable sourceTable(DatabaseState& state, const TableInfo& table) {
    if (table.link.kind == LinkKind::None)
        return {table, std::nullopt};
    LinkedTable resolved = state.resolveLink(table);
    return {std::move(resolved.info), std::move(resolved.source)};
}

} // namespace quarix::engine
