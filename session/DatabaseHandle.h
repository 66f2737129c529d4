#pragma once

#include "engine/AccessDatabase.h"

#include <QString>

#include <memory>

namespace quarix::session {

// The database a session reads: the file, and what opening it takes. Every
// job opens it for itself; the engine keeps what it has read of the file
// while the file stays the same, so a later open is cheap.
class DatabaseHandle {
public:
    DatabaseHandle() = default;
    explicit DatabaseHandle(QString path) : path_(std::move(path)) {}

    const QString& path() const { return path_; }
    bool isSet() const { return !path_.isEmpty(); }

    // Throws engine::EngineError: 3024 for a missing file, 3343 for one
    // that is not an Access file, 3031 when it needs a password and the one
    // given (or the one the engine keeps from an earlier open) is wrong.
    std::shared_ptr<engine::AccessDatabase> open(const engine::Secret& password = {}) const;

private:
    QString path_;
};

} // namespace quarix::session
