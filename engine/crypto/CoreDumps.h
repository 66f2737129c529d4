#pragma once

namespace quarix::engine {

// Keeps this process from writing a core file, which after a crash would
// hold decrypted pages and passwords, and other processes from reading its
// memory.
void disableCoreDumps();

} // namespace quarix::engine
