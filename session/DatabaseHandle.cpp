#include "session/DatabaseHandle.h"

namespace quarix::session {

std::shared_ptr<engine::AccessDatabase> DatabaseHandle::open(const engine::Secret& password) const {
    return engine::AccessDatabase::open(path_.toStdString(), password);
}

} // namespace quarix::session
