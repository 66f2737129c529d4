#pragma once

#include "engine/reader/MdbDatabase.h"

#include <cstddef>
#include <cstdint>

namespace quarix::engine {

// Checks that the pages a table is made of lie inside the file, before
// libmdb reads them: libmdb takes a page past the end of the file for the
// end of the table, so a file cut short would read as a shorter table.
// Each throws the damaged-file error naming the file.

// The definition pages of a table, its continuation pages and the pages
// holding its usage maps.
void requireDefinitionPages(const MdbDatabase& file, std::uint32_t definitionPage);

// Whether the row holding the table's usage map is a sound row of a data
// page: libmdb takes whatever bytes the definition points at, and a map
// read from a damaged or zeroed page lists none of the table's pages.
bool usageMapRowIsSound(const MdbDatabase& file, std::uint32_t definitionPage);

// Every page a usage map lists as the table's, and for a map kept on pages
// of its own, those pages. False when such a page is not a usage map: the
// table's list of pages is damaged, and reading on would lose its rows.
bool requireUsageMapPages(const MdbDatabase& file, const unsigned char* map, std::size_t size);

} // namespace quarix::engine
