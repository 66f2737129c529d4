#pragma once

// libmdb side: the helper process only.

#include "engine/reader/PageCipher.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace quarix::engine {

// A read-only stdio stream over an encrypted file that hands out its pages
// decrypted, for libmdb to read as it reads a file. The first page comes
// with its encoding key read as 0, so libmdb does not decode the pages
// again. Pages are decrypted as they are read: nothing decrypted is written
// anywhere, and memory stays at a few pages whatever the file's size (the
// last few are kept, as libmdb reads a table's usage map again for every
// data page). They are wiped when this goes.
class DecryptedPages {
public:
    // Takes the open descriptor. pageSize divides the file; a partial last
    // page is left out.
    DecryptedPages(int fd, std::uint64_t fileSize, std::size_t pageSize, std::string firstPage,
                   std::unique_ptr<PageCipher> cipher);
    ~DecryptedPages();
    DecryptedPages(const DecryptedPages&) = delete;
    DecryptedPages& operator=(const DecryptedPages&) = delete;

    // The stream; whoever holds it closes it before this goes. Null when
    // it cannot be made.
    std::FILE* open();

private:
    struct Slot {
        std::uint64_t page = 0;
        std::uint64_t lastUse = 0; // 0: empty
    };
    // The decrypted page, or null when it cannot be read.
    const std::uint8_t* page(std::uint64_t number);
    bool fill(std::uint64_t number, std::uint8_t* bytes) const;
    static ssize_t read(void* self, char* buffer, std::size_t size);
    static int seek(void* self, off64_t* offset, int whence);
    static int close(void* self);

    int fd_;
    std::uint64_t size_; // whole pages only
    std::size_t pageSize_;
    std::string firstPage_;
    std::unique_ptr<PageCipher> cipher_;
    std::vector<std::uint8_t> buffers_;
    std::vector<Slot> slots_;
    std::vector<std::uint8_t> streamBuffer_;
    std::uint64_t uses_ = 0;
    std::uint64_t position_ = 0;
};

} // namespace quarix::engine
