#pragma once

#include "engine/crypto/Secret.h"
#include "engine/reader/Credentials.h"

#include <mutex>

namespace quarix::engine {

// The password of one locked file while it is open, shared by every read
// of it. Wiping it closes the file for good: a read after that fails as one
// without a password does.
class FilePassword {
public:
    explicit FilePassword(Credentials credentials) : credentials_(std::move(credentials)) {}
    FilePassword(const FilePassword&) = delete;
    FilePassword& operator=(const FilePassword&) = delete;

    // What the reader receives on its standard input.
    Secret encoded() const;
    bool matches(const Secret& password) const;
    void wipe();

private:
    mutable std::mutex mutex_;
    Credentials credentials_;
};

} // namespace quarix::engine
