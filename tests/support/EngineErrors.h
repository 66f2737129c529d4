#pragma once

#include "engine/EngineError.h"

#include <string>

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

// The number and text of the EngineError a call throws; "none" if it throws none.
template <typename F> std::string engineErrorOf(F&& call) {
    try {
        call();
    } catch (const engine::EngineError& e) {
        return std::to_string(e.number()) + " " + e.description();
    }
    return "none";
}

} // namespace quarix::test
