#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quarix::engine {

// A child process whose standard output and standard error are pipes the
// caller drains. The destructor kills and reaps a child still running, so
// no path out of the caller (exception, cancel) leaves one behind.
class HelperProcess {
public:
    // Throws EngineError when the program cannot be started. The input, if
    // any, is what the child finds on its standard input (at most a pipe's
    // capacity); otherwise it reads nothing.
    HelperProcess(const std::string& program, const std::vector<std::string>& arguments,
                  std::span<const std::uint8_t> input = {});
    ~HelperProcess();
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    struct Output {
        std::size_t bytes = 0; // from standard output, written into the caller's buffer
        bool activity = false; // anything arrived on either pipe
        bool finished = false; // standard output is closed
    };
    // Waits at most `wait` for output; what arrives on standard output goes
    // into `into` (at most its size).
    Output read(std::chrono::milliseconds wait, std::span<char> into);

    void kill();
    // Reaps the child; the raw wait status.
    int wait();
    // The last few kilobytes the child wrote to standard error.
    const std::string& errorOutput() const { return stderr_; }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
    bool reaped_ = false;
    int status_ = 0;
    std::string stderr_;
};

} // namespace quarix::engine
