#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quarix::engine {

// One file of an attachment field.
struct AttachmentFile {
    std::int64_t row = 0;             // the table row's position, from 1, in the file's order
    std::string name;                 // as stored: may hold anything, separators included
    std::string type;                 // the extension Access recorded, such as "txt"
    std::optional<std::string> bytes; // the file's exact bytes; nothing when they are damaged
};

} // namespace quarix::engine
