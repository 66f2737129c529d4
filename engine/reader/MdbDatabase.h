#pragma once

// libmdb wrappers for the helper process only: the caller side never links
// libmdb.

#include "engine/reader/DataPage.h"
#include "engine/reader/DecryptedPages.h"
#include "engine/reader/FileHeader.h"
#include "engine/reader/TableDamage.h"

#include <glib.h>
#include <mdbtools.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarix::engine {

// One open Access file.
class MdbDatabase {
public:
    // Maps an absolute path whose header was checked and opens it; nullptr
    // when libmdb refuses it. An encrypted file comes with the cipher of its
    // pages, and libmdb reads them decrypted.
    static std::unique_ptr<MdbDatabase> open(const std::string& path, const FileHeader& header,
                                             std::unique_ptr<PageCipher> cipher = nullptr);
    ~MdbDatabase();
    MdbDatabase(const MdbDatabase&) = delete;
    MdbDatabase& operator=(const MdbDatabase&) = delete;

    MdbHandle* handle() const { return mdb_; }
    const FileHeader& header() const { return header_; }
    bool jet3() const { return header_.format == FileFormat::Jet3; }
    const std::string& path() const { return path_; }

    // Whole pages the file holds, and whether it ends on a page boundary:
    // a file cut short loses its last pages, and libmdb reads a page past
    // the end as the end of a table.
    std::uint32_t pageCount() const;
    bool endsOnPageBoundary() const;
    bool holdsPage(std::uint32_t page) const { return page < pageCount(); }
    // Throws the damaged-file error unless the file holds the page.
    void requirePage(std::uint32_t page) const;

    // Drops the mapped pages read so far from this process's memory. They
    // stay in the system's file cache, so reading one again is cheap; the
    // memory of a long read stays flat whatever the size of the file.
    void releaseMappedPages() const;

private:
    MdbDatabase(MdbHandle* mdb, const std::string& path, const FileHeader& header,
                std::uint64_t fileSize, void* mapping, std::size_t mappingSize)
        : mdb_(mdb), path_(path), header_(header), fileSize_(fileSize), mapping_(mapping),
          mappingSize_(mappingSize) {}
    static std::unique_ptr<MdbDatabase> openDecrypted(const std::string& path,
                                                      const FileHeader& header,
                                                      std::unique_ptr<PageCipher> cipher);
    std::unique_ptr<DecryptedPages> decrypted_; // outlives mdb_, which reads through it
    MdbHandle* mdb_;
    std::string path_;
    FileHeader header_;
    std::uint64_t fileSize_;
    void* mapping_;
    std::size_t mappingSize_;
};

// One field of the current row: where its bytes are on the page.
struct RawField {
    bool null = true;
    bool damaged = false; // start or size outside the row
    std::string_view bytes;
};

// The definition and rows of one table, read page by page: every page the
// table lists is checked to be one of its data pages with a row table that
// holds together, every row against the table's definition, and every
// field against its row. What does not pass is skipped and counted.
class MdbTable {
public:
    // Nothing when the table definition cannot be read.
    // Throws the damaged-file error when the definition or the pages it
    // lists lie past the end of the file.
    static std::unique_ptr<MdbTable> open(MdbDatabase& file, const std::string& name,
                                          std::uint32_t definitionPage);
    ~MdbTable();
    MdbTable(const MdbTable&) = delete;
    MdbTable& operator=(const MdbTable&) = delete;

    std::size_t columnCount() const { return columns_.size(); }
    const MdbColumn& column(std::size_t i) const { return *columns_[i]; }
    std::uint32_t rowEstimate() const { return table_->num_rows; }
    MdbDatabase& file() const { return file_; }

    // Moves to the next row; false at the end. Rows that cannot be read are
    // skipped and counted in damage().
    bool nextRow();
    const RawField& field(std::size_t column) const { return fields_[column]; }

    // The rows and pages skipped so far (values are the decoder's to count).
    const TableDamage& damage() const { return damage_; }
    // The pages whose rows were read so far, in order.
    const std::vector<std::uint32_t>& pages() const { return pages_; }

private:
    MdbTable(MdbDatabase& file, std::unique_ptr<MdbCatalogEntry> entry, MdbTableDef* table,
             unsigned maxColumns);
    bool nextPage();
    bool crack(const DataPage::Row& row);

    MdbDatabase& file_;
    std::unique_ptr<MdbCatalogEntry> entry_;
    MdbTableDef* table_;
    unsigned maxColumns_; // columns a row may hold, deleted ones included
    std::vector<MdbColumn*> columns_;
    std::vector<MdbField> cracked_;
    std::vector<RawField> fields_;
    std::uint32_t page_ = 0;
    std::optional<DataPage> rows_; // of page_
    unsigned nextRow_ = 0;
    TableDamage damage_;
    std::vector<std::uint32_t> pages_;
    unsigned rowsSinceRelease_ = 0;
};

} // namespace quarix::engine
