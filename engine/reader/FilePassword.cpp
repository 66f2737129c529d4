#include "engine/reader/FilePassword.h"

namespace quarix::engine {

Secret FilePassword::encoded() const {
    std::lock_guard lock(mutex_);
    return encodeCredentials(credentials_);
}

bool FilePassword::matches(const Secret& password) const {
    std::lock_guard lock(mutex_);
    return !credentials_.empty() && credentials_.password == password;
}

void FilePassword::wipe() {
    std::lock_guard lock(mutex_);
    credentials_ = Credentials();
}

} // namespace quarix::engine
