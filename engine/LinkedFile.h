#pragma once

#include <string>

namespace quarix::engine {

// The file a table linked to another Access file is read from: the path as
// Access stored it (often a Windows path) when it names a file here, else
// the file of the same name in the linking database's own folder. A link
// in a folder that other users can write is not followed. Throws 3044
// "'PATH' is not a valid path." naming the stored path when neither is there.
std::string linkedFilePath(const std::string& storedPath, const std::string& databasePath);

} // namespace quarix::engine
