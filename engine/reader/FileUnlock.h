#pragma once

#include "engine/reader/Credentials.h"
#include "engine/reader/FileHeader.h"
#include "engine/reader/PageCipher.h"

#include <memory>
#include <string>

namespace quarix::engine {

// Checks the password as Access does and returns what decrypts the pages;
// nullptr when libmdb reads the pages itself (stored as they are, or Jet RC4
// encoding, which it undoes). Throws EngineError 3031 "Not a valid
// password." when the file needs a password and the one given is missing
// or wrong, and 3343 naming the scheme when Quarix cannot read it.
std::unique_ptr<PageCipher> unlockFile(const FileHeader& header, const Credentials& credentials,
                                       const std::string& path);

} // namespace quarix::engine
