#include "engine/reader/MdbDatabase.h"

#include "engine/reader/PageReferences.h"
#include "engine/reader/ReaderErrors.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace quarix::engine {

namespace {
constexpr int rowOffsetMask = 0x1fff;
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

std::unique_ptr<MdbTable> MdbTable::open(MdbDatabase& file, const std::string& name,
                                         std::uint32_t definitionPage) {
    auto entry = std::make_unique<MdbCatalogEntry>();
    std::memset(entry.get(), 0, sizeof(MdbCatalogEntry));
    entry->mdb = file.handle();
    entry->object_type = MDB_TABLE;
    entry->table_pg = definitionPage;
    std::snprintf(entry->object_name, sizeof entry->object_name, "%s", name.c_str());

    requireDefinitionPages(file, definitionPage);
    MdbTableDef* table = mdb_read_table(entry.get());
    if (!table)
        return nullptr;
    // libmdb 1.0.0 dereferences a missing usage map while fetching rows, and
    // keeps at most MDB_MAX_COLS fields per row.
    if (!table->usage_map || table->map_sz < 1 || table->num_cols > MDB_MAX_COLS ||
        !mdb_read_columns(table) || table->columns->len != table->num_cols) {
        mdb_free_tabledef(table);
        return nullptr;
    }
    try {
        requireUsageMapPages(file, table->usage_map, table->map_sz);
    } catch (...) {
        mdb_free_tabledef(table);
        throw;
    }
    mdb_rewind_table(table);
    return std::unique_ptr<MdbTable>(new MdbTable(file, std::move(entry), table));
}

MdbTable::MdbTable(MdbDatabase& file, std::unique_ptr<MdbCatalogEntry> entry, MdbTableDef* table)
    : file_(file), entry_(std::move(entry)), table_(table), cracked_(MDB_MAX_COLS),
      fields_(table->num_cols) {
    for (guint i = 0; i < table->columns->len; ++i)
        columns_.push_back(static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i)));
}

MdbTable::~MdbTable() {
    mdb_free_tabledef(table_);
}

// mdb_fetch_row stops alike at the end and at a page it cannot read. At the
// true end the usage map lists no page after the last one read.
void MdbTable::checkEndOfRows() const {
    const unsigned char mapType = table_->usage_map[0];
    if (table_->num_rows == 0 || (mapType != 0 && mapType != 1))
        return; // nothing read, or every page of the file was read in turn
    file_.requirePage(table_->cur_phys_pg);
    if (mdb_map_find_next(file_.handle(), table_->usage_map, static_cast<unsigned>(table_->map_sz),
                          table_->cur_phys_pg) != 0)
        throw reader_errors::incompleteFileError(file_.path());
}

bool MdbTable::nextRow() {
    if (++rowsSinceRelease_ == 16384) {
        rowsSinceRelease_ = 0;
        file_.releaseMappedPages();
    }
    if (!mdb_fetch_row(table_)) {
        checkEndOfRows();
        return false;
    }
    MdbHandle* mdb = file_.handle();
    const int pageSize = static_cast<int>(mdb->fmt->pg_size);
    int rowStart = 0;
    size_t rowSize = 0;
    int fieldCount = -1;
    if (table_->cur_row > 0 &&
        mdb_find_row(mdb, static_cast<int>(table_->cur_row) - 1, &rowStart, &rowSize) == 0) {
        rowStart &= rowOffsetMask;
        if (rowSize > 0 && rowStart + static_cast<int>(rowSize) <= pageSize)
            fieldCount = mdb_crack_row(table_, rowStart, rowSize, cracked_.data());
    }
    const int rowEnd = rowStart + static_cast<int>(rowSize);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        RawField& f = fields_[i];
        f = RawField{};
        if (fieldCount < 0) {
            f.damaged = true;
            continue;
        }
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
