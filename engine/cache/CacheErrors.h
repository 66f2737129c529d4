#pragma once

#include "engine/EngineError.h"

namespace quarix::engine {

// Failures of the cache itself, kept apart from the database's so that the
// engine can work around them: a damaged cache file is started afresh, and
// a cache the disk cannot hold gives way to one in memory.

// The cache file is damaged (SQLite finds it malformed or not a database).
struct CacheDamaged : EngineError {
    using EngineError::EngineError;
};

// The disk or folder cannot hold the cache: full, read-only, failing, or
// not a folder Quarix may use.
struct CacheDiskError : EngineError {
    using EngineError::EngineError;
};

// Access's numbers for the cases.
namespace cache_errors {
constexpr int diskFull = 3026;  // "Not enough space on disk."
constexpr int diskError = 3043; // "Disk or network error."
constexpr int damaged = 3049;   // "Cannot open database ... the file may be corrupt."
} // namespace cache_errors

} // namespace quarix::engine
