#pragma once

#include "engine/AttachmentFile.h"
#include "engine/reader/AccessFileReader.h"

#include <functional>
#include <vector>

namespace quarix::engine {

// Turns the rows the reader sends for an attachment field into files,
// keeping those of the chosen rows (all, when there is no choice).
class AttachmentSink : public RowSink {
public:
    AttachmentSink(const std::vector<std::int64_t>* chosenRows,
                   std::function<void(const AttachmentFile&)> onFile)
        : chosen_(chosenRows), onFile_(std::move(onFile)) {}

    void begin(const TableInfo&) override {}
    void row(std::span<const StoredValue> values) override;

private:
    const std::vector<std::int64_t>* chosen_; // ascending
    std::function<void(const AttachmentFile&)> onFile_;
};

} // namespace quarix::engine
