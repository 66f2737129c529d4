#pragma once

#include "engine/reader/FileHeader.h"

#include <string>

namespace quarix::engine {

// How an Access file is locked, as its first page says.
enum class LockKind {
    None,
    JetEncoding,        // Jet RC4 page encoding, its key in the file: no password
    DatabasePassword,   // Jet 3/4 database password (pages perhaps encoded too)
    OfficeRc4CryptoApi, // ACE: Office RC4 CryptoAPI encryption
    OfficeAgile,        // ACE: Office Agile encryption (AES)
    OfficeStandard,     // ACE: Office standard encryption (AES)
    Unsupported,        // locked in a way Quarix cannot read
};

struct FileLock {
    LockKind kind = LockKind::None;
    // In words, for the user: "Office Agile encryption (AES-256, SHA-512)";
    // for Unsupported, which scheme it is. Empty for None.
    std::string scheme;

    bool needsPassword() const {
        return kind != LockKind::None && kind != LockKind::JetEncoding &&
               kind != LockKind::Unsupported;
    }
    // Anything but None: its contents are kept out of the disk cache.
    bool locked() const { return kind != LockKind::None; }
};

FileLock lockOf(const FileHeader& header);

// Reads only the first page, in the calling process: cheap enough to ask
// before opening whether a password is needed. A file that cannot be read
// or is not an Access file probes as None; opening it then says why.
FileLock probeFileLock(const std::string& path);

} // namespace quarix::engine
