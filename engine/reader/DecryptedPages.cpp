#include "engine/reader/DecryptedPages.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quarix::engine {
namespace {
constexpr std::size_t keptPages = 8;
}

DecryptedPages::DecryptedPages(int fd, std::uint64_t fileSize, std::size_t pageSize,
                               std::string firstPage, std::unique_ptr<PageCipher> cipher)
    : fd_(fd), size_(fileSize / pageSize * pageSize), pageSize_(pageSize),
      firstPage_(std::move(firstPage)), cipher_(std::move(cipher)), buffers_(keptPages * pageSize),
      slots_(keptPages) {
    firstPage_.resize(pageSize_);
}

DecryptedPages::~DecryptedPages() {
    wipeBytes(buffers_.data(), buffers_.size());
    wipeBytes(streamBuffer_.data(), streamBuffer_.size());
    ::close(fd_);
}

std::FILE* DecryptedPages::open() {
    const cookie_io_functions_t functions{&DecryptedPages::read, nullptr, &DecryptedPages::seek,
                                          &DecryptedPages::close};
    std::FILE* stream = ::fopencookie(this, "r", functions);
    // A buffer of one page, so that a page comes in one read (an unbuffered
    // stream asks for a byte at a time); ours, so that it is wiped too.
    if (stream)
        std::setvbuf(stream, reinterpret_cast<char*>(streamBuffer_.data()), _IOFBF, pageSize_);
    return stream;
}

bool DecryptedPages::fill(std::uint64_t number, std::uint8_t* bytes) const {
    if (number == 0) {
        std::memcpy(bytes, firstPage_.data(), pageSize_);
        return true;
    }
    std::size_t got = 0;
    while (got < pageSize_) {
        const ssize_t n = ::pread(fd_, bytes + got, pageSize_ - got,
                                  static_cast<off_t>(number * pageSize_ + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        got += static_cast<std::size_t>(n);
    }
    cipher_->decrypt(static_cast<std::uint32_t>(number), {bytes, pageSize_});
    return true;
}

const std::uint8_t* DecryptedPages::page(std::uint64_t number) {
    auto slot = std::find_if(slots_.begin(), slots_.end(),
                             [&](const Slot& s) { return s.lastUse != 0 && s.page == number; });
    const auto bytesOf = [&](auto at) {
        return buffers_.data() + static_cast<std::size_t>(at - slots_.begin()) * pageSize_;
    };
    if (slot == slots_.end()) {
        slot = std::min_element(slots_.begin(), slots_.end(),
                                [](const Slot& a, const Slot& b) { return a.lastUse < b.lastUse; });
        slot->lastUse = 0; // empty until filled
        if (!fill(number, bytesOf(slot)))
            return nullptr;
        slot->page = number;
    }
    slot->lastUse = ++uses_;
    return bytesOf(slot);
}

ssize_t DecryptedPages::read(void* self, char* buffer, std::size_t size) {
    auto& d = *static_cast<DecryptedPages*>(self);
    std::size_t copied = 0;
    while (copied < size && d.position_ < d.size_) {
        const std::uint8_t* bytes = d.page(d.position_ / d.pageSize_);
        if (!bytes) {
            if (copied > 0)
                break;
            errno = EIO;
            return -1;
        }
        const std::size_t offset = d.position_ % d.pageSize_;
        const std::size_t n =
            std::min<std::uint64_t>({size - copied, d.pageSize_ - offset, d.size_ - d.position_});
        std::memcpy(buffer + copied, bytes + offset, n);
        copied += n;
        d.position_ += n;
    }
    return static_cast<ssize_t>(copied);
}

int DecryptedPages::seek(void* self, off64_t* offset, int whence) {
    auto& d = *static_cast<DecryptedPages*>(self);
    off64_t base = 0;
    if (whence == SEEK_CUR)
        base = static_cast<off64_t>(d.position_);
    else if (whence == SEEK_END)
        base = static_cast<off64_t>(d.size_);
    const off64_t target = base + *offset;
    if ((whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) || target < 0) {
        errno = EINVAL;
        return -1;
    }
    d.position_ = static_cast<std::uint64_t>(target);
    *offset = target;
    return 0;
}

int DecryptedPages::close(void*) {
    return 0;
}

} // namespace quarix::engine
