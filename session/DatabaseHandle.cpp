#include "session/DatabaseHandle.h"

namespace quarix::session {

std::shared_ptr<engine::AccessDatabase> DatabaseHandle::open() const {
    return engine::AccessDatabase::open(path_.toStdString());
}

} // namespace quarix::session
