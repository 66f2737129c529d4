#include "engine/AttachmentSink.h"

#include <algorithm>

namespace quarix::engine {

void AttachmentSink::row(std::span<const StoredValue> values) {
    if (values.size() != 4 || values[0].kind != StoredValue::Kind::Integer)
        return;
    AttachmentFile file;
    file.row = values[0].integer;
    if (chosen_ && !std::binary_search(chosen_->begin(), chosen_->end(), file.row))
        return;
    if (values[1].kind == StoredValue::Kind::Text)
        file.name = std::string(values[1].bytes);
    if (values[2].kind == StoredValue::Kind::Text)
        file.type = std::string(values[2].bytes);
    if (values[3].kind == StoredValue::Kind::Blob)
        file.bytes = std::string(values[3].bytes);
    onFile_(file);
}

} // namespace quarix::engine
