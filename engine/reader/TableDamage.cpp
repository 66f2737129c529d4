#include "engine/reader/TableDamage.h"

#include <vector>

namespace quarix::engine {
namespace {

std::string counted(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += i + 1 == parts.size() ? " and " : ", ";
        text += parts[i];
    }
    return text;
}

} // namespace

std::string damageDescription(const std::string& table, const std::string& path,
                              const TableDamage& damage, std::uint64_t rowsRead,
                              std::uint64_t rowsCounted) {
    std::vector<std::string> parts;
    if (damage.pages > 0)
        parts.push_back(counted(damage.pages, "page of rows", "pages of rows"));
    if (damage.rows > 0)
        parts.push_back(counted(damage.rows, "row", "rows"));
    if (damage.values > 0)
        parts.push_back(counted(damage.values, "value", "values"));
    std::string text = "The table '" + table + "' in '" + path + "' is damaged: " + joined(parts) +
                       " could not be read";
    // A lost page hides how many rows it held; the definition's count tells.
    if (damage.pages > 0 && rowsCounted > rowsRead)
        text += " (" + std::to_string(rowsRead) + " of the " + std::to_string(rowsCounted) +
                " rows its definition counts were read)";
    return text + ".";
}

} // namespace quarix::engine
