#pragma once

#include "engine/crypto/Secret.h"
#include "engine/reader/FileHeader.h"

namespace quarix::engine {

// The Jet 3/4 database password the header holds, in UTF-8; empty when the
// file has none. Access compares the password typed with it exactly.
Secret jetPassword(const FileHeader& header);

} // namespace quarix::engine
