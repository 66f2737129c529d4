#pragma once

#include "app/cli/CliOptions.h"
#include "engine/AccessDatabase.h"

#include <ostream>

namespace quarix::cli {

// quarix-cli attachments: lists the files of an attachment field (row, file
// name, size) and, with --output-dir, writes each one's bytes to
// DIR/ROW/NAME without ever replacing a file or leaving DIR.
int listAttachments(const CliOptions& options, const engine::AccessDatabase& db,
                    const engine::ReadOptions& read, Format format, std::ostream& out,
                    std::ostream& err);

} // namespace quarix::cli
