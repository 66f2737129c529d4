#pragma once

#include "engine/reader/FrameOutput.h"
#include "engine/reader/MdbDatabase.h"
#include "engine/reader/ObjectDirectory.h"

#include <string>

namespace quarix::engine {

// Sends the files of one attachment column as a table of four columns: Row
// (the position of the table's row, from 1, in the file's order), FileName,
// FileType and FileData (the file's exact bytes, unpacked). Files come in
// the order the file keeps them; one whose data cannot be unpacked comes
// with FileData Null and counts as a damaged value.
// Throws 3265 for a field the table does not have, 3000 for one that holds
// no attachments.
void writeAttachments(MdbDatabase& file, const ObjectDirectory& directory, const std::string& path,
                      const std::string& tableName, const std::string& field, FrameOutput& out);

} // namespace quarix::engine
