#pragma once

#include <stdexcept>
#include <string>

namespace quarix::engine {

// Every failure of the engine reaches its caller as one of these: an
// Access-style error number and a description worded as Access words it.
class EngineError : public std::runtime_error {
public:
    EngineError(int number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    int number() const { return number_; }
    std::string description() const { return what(); }

private:
    int number_;
};

} // namespace quarix::engine
