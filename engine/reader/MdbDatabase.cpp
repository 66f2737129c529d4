#include "engine/reader/MdbDatabase.h"

#include "engine/reader/PageReferences.h"
#include "engine/reader/ReaderErrors.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace quarix::engine {

namespace {
constexpr std::size_t encryptedPageSize = 4096; // ACE
} // namespace

std::unique_ptr<MdbDatabase> MdbDatabase::open(const std::string& path, const FileHeader& header,
                                               std::unique_ptr<PageCipher> cipher) {
    if (cipher)
        return openDecrypted(path, header, std::move(cipher));
    // Reading pages from a mapping spares libmdb two seeks and a read per page.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    void* mapping = MAP_FAILED;
    const bool known = ::fstat(fd, &info) == 0;
    const auto size = known ? static_cast<std::size_t>(info.st_size) : 0;
    if (size > 0)
        mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (!known)
        return nullptr;
    if (mapping == MAP_FAILED) {
        // Too large for the address-space limit (or empty): read it as a file.
        MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
        return mdb ? std::unique_ptr<MdbDatabase>(
                         new MdbDatabase(mdb, path, header, size, nullptr, 0))
                   : nullptr;
    }
    ::madvise(mapping, size, MADV_SEQUENTIAL);
    MdbHandle* mdb = mdb_open_buffer(mapping, size, MDB_NOFLAGS);
    if (!mdb) {
        ::munmap(mapping, size);
        return nullptr;
    }
    return std::unique_ptr<MdbDatabase>(new MdbDatabase(mdb, path, header, size, mapping, size));
}

std::unique_ptr<MdbDatabase> MdbDatabase::openDecrypted(const std::string& path,
                                                        const FileHeader& header,
                                                        std::unique_ptr<PageCipher> cipher) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    std::string firstPage(encryptedPageSize, '\0');
    if (::fstat(fd, &info) != 0 || ::pread(fd, firstPage.data(), firstPage.size(), 0) !=
                                       static_cast<ssize_t>(firstPage.size())) {
        ::close(fd);
        return nullptr;
    }
    firstPage = withoutEncodingKey(firstPage, header);
    auto pages = std::make_unique<DecryptedPages>(fd, static_cast<std::uint64_t>(info.st_size),
                                                  encryptedPageSize, firstPage, std::move(cipher));
    std::FILE* stream = pages->open();
    // libmdb opens a stream only from a path or a buffer: it opens the
    // first page from a buffer, then reads the rest through the stream.
    MdbHandle* mdb =
        stream ? mdb_open_buffer(firstPage.data(), firstPage.size(), MDB_NOFLAGS) : nullptr;
    if (!mdb) {
        if (stream)
            std::fclose(stream);
        return nullptr;
    }
    std::fclose(mdb->f->stream);
    mdb->f->stream = stream;
    std::unique_ptr<MdbDatabase> database(
        new MdbDatabase(mdb, path, header, static_cast<std::uint64_t>(info.st_size), nullptr, 0));
    database->decrypted_ = std::move(pages);
    return database;
}

MdbDatabase::~MdbDatabase() {
    mdb_close(mdb_);
    if (mapping_)
        ::munmap(mapping_, mappingSize_);
}

std::uint32_t MdbDatabase::pageCount() const {
    return static_cast<std::uint32_t>(fileSize_ / static_cast<std::uint64_t>(mdb_->fmt->pg_size));
}

bool MdbDatabase::endsOnPageBoundary() const {
    return fileSize_ % static_cast<std::uint64_t>(mdb_->fmt->pg_size) == 0;
}

void MdbDatabase::requirePage(std::uint32_t page) const {
    if (!holdsPage(page))
        throw reader_errors::incompleteFileError(path_);
}

void MdbDatabase::releaseMappedPages() const {
    if (mapping_)
        ::madvise(mapping_, mappingSize_, MADV_DONTNEED);
}

namespace {

// Whether the columns fit the rows the definition promises: each has its
// own place in the row's column numbering, within the most columns a row
// may hold, and fixed-size columns sit side by side without overlapping.
// A damaged definition would otherwise read every row wrongly.
bool columnsHoldTogether(const MdbTableDef& table, unsigned maxColumns) {
    std::set<int> numbers;
    std::set<unsigned> variable;
    std::vector<std::pair<int, int>> fixed; // offset, size
    for (guint i = 0; i < table.columns->len; ++i) {
        const auto* c = static_cast<const MdbColumn*>(g_ptr_array_index(table.columns, i));
        if (c->col_num < 0 || static_cast<unsigned>(c->col_num) >= maxColumns ||
            !numbers.insert(c->col_num).second || c->col_size < 0)
            return false;
        if (c->is_fixed)
            fixed.emplace_back(c->fixed_offset, c->col_size);
        else if (c->var_col_num >= maxColumns || !variable.insert(c->var_col_num).second)
            return false;
    }
    std::sort(fixed.begin(), fixed.end());
    for (std::size_t i = 0; i < fixed.size(); ++i)
        if (fixed[i].first < 0 ||
            (i + 1 < fixed.size() && fixed[i].first + fixed[i].second > fixed[i + 1].first))
            return false;
    return true;
}

} // namespace

std::unique_ptr<MdbTable> MdbTable::open(MdbDatabase& file, const std::string& name,
                                         std::uint32_t definitionPage) {
    auto entry = std::make_unique<MdbCatalogEntry>();
    std::memset(entry.get(), 0, sizeof(MdbCatalogEntry));
    entry->mdb = file.handle();
    entry->object_type = MDB_TABLE;
    entry->table_pg = definitionPage;
    std::snprintf(entry->object_name, sizeof entry->object_name, "%s", name.c_str());

    requireDefinitionPages(file, definitionPage);
    MdbHandle* mdb = file.handle();
    // The most columns a row may hold (deleted ones included) sits just
    // before the table's column counts, which libmdb does not keep.
    const std::size_t maxColumnsOffset = mdb->fmt->tab_num_cols_offset - 4u;
    if (mdb_read_alt_pg(mdb, definitionPage) != mdb->fmt->pg_size)
        return nullptr;
    const unsigned maxColumns = static_cast<unsigned>(mdb->alt_pg_buf[maxColumnsOffset] |
                                                      mdb->alt_pg_buf[maxColumnsOffset + 1] << 8);
    if (!usageMapRowIsSound(file, definitionPage))
        return nullptr;
    MdbTableDef* table = mdb_read_table(entry.get());
    if (!table)
        return nullptr;
    // libmdb 1.0.0 dereferences a missing usage map while fetching rows, and
    // keeps at most MDB_MAX_COLS fields per row.
    if (!table->usage_map || table->map_sz < 1 || table->num_cols > MDB_MAX_COLS ||
        !mdb_read_columns(table) || table->columns->len != table->num_cols ||
        !columnsHoldTogether(*table, maxColumns)) {
        mdb_free_tabledef(table);
        return nullptr;
    }
    try {
        if (!requireUsageMapPages(file, table->usage_map, table->map_sz)) {
            mdb_free_tabledef(table);
            return nullptr;
        }
    } catch (...) {
        mdb_free_tabledef(table);
        throw;
    }
    return std::unique_ptr<MdbTable>(new MdbTable(file, std::move(entry), table, maxColumns));
}

MdbTable::MdbTable(MdbDatabase& file, std::unique_ptr<MdbCatalogEntry> entry, MdbTableDef* table,
                   unsigned maxColumns)
    : file_(file), entry_(std::move(entry)), table_(table), maxColumns_(maxColumns),
      cracked_(MDB_MAX_COLS), fields_(table->num_cols) {
    for (guint i = 0; i < table->columns->len; ++i)
        columns_.push_back(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i)));
}

MdbTable::~MdbTable() {
    mdb_free_tabledef(table_);
}

// The next page the usage map lists that holds this table's rows. A listed
// page that is not one (another table's, zeroed, or with a row table that
// does not hold together) lost its rows.
bool MdbTable::nextPage() {
    MdbHandle* mdb = file_.handle();
    const auto pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
    for (;;) {
        // Unsigned in libmdb's declaration; -1 for a map of unknown kind.
        const auto next = static_cast<gint32>(mdb_map_find_next(
            mdb, table_->usage_map, static_cast<unsigned>(table_->map_sz), page_));
        if (next <= 0) {
            if (next < 0) // the list of the table's pages is itself damaged
                ++damage_.pages;
            return false;
        }
        page_ = static_cast<std::uint32_t>(next);
        file_.requirePage(page_);
        if (mdb_read_pg(mdb, page_) == mdb->fmt->pg_size) {
            rows_ = DataPage::read(
                std::string_view(reinterpret_cast<const char*>(mdb->pg_buf), pageSize),
                mdb->fmt->row_count_offset);
            if (rows_ && rows_->owner() == entry_->table_pg) {
                nextRow_ = 0;
                pages_.push_back(page_);
                return true;
            }
        }
        rows_.reset();
        ++damage_.pages;
    }
}

bool MdbTable::nextRow() {
    if (++rowsSinceRelease_ == 16384) {
        rowsSinceRelease_ = 0;
        file_.releaseMappedPages();
    }
    for (;;) {
        if (!rows_ || nextRow_ >= rows_->rowCount()) {
            if (!nextPage())
                return false;
            continue;
        }
        const DataPage::Row row = rows_->row(nextRow_++);
        if (!row.live)
            continue;
        if (crack(row))
            return true;
        ++damage_.rows;
    }
}

// Splits a row into its fields; false when the row does not fit the table.
bool MdbTable::crack(const DataPage::Row& row) {
    if (row.bytes.empty())
        return false;
    MdbHandle* mdb = file_.handle();
    const int rowStart = static_cast<int>(row.start);
    const int fieldCount = mdb_crack_row(table_, rowStart, row.bytes.size(), cracked_.data());
    if (fieldCount <= 0 || static_cast<unsigned>(fieldCount) > maxColumns_)
        return false;
    const int rowEnd = rowStart + static_cast<int>(row.bytes.size());
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        RawField& f = fields_[i];
        f = RawField{};
        const MdbField& c = cracked_[i];
        f.null = c.is_null != 0;
        if (c.siz < 0 || c.start < rowStart || c.start > rowEnd || c.siz > rowEnd - c.start) {
            f.damaged = !f.null;
            continue;
        }
        f.bytes = std::string_view(reinterpret_cast<const char*>(mdb->pg_buf) + c.start,
                                   static_cast<std::size_t>(c.siz));
    }
    return true;
}

} // namespace quarix::engine
