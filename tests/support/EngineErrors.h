#pragma once

#include "engine/EngineError.h"

namespace quarix::test {

// The error a piece of engine work ends in: number 0 when it ends without one.
template <typename Work> engine::EngineError errorOf(Work&& work) {
    try {
        work();
    } catch (const engine::EngineError& e) {
        return e;
    }
    return engine::EngineError(0, "");
}

} // namespace quarix::test
