#include "engine/reader/HelperProcess.h"

#include "engine/reader/ReaderErrors.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace quarix::engine {
namespace {

constexpr std::size_t stderrKept = 4096;
constexpr int largePipe = 1 << 20;

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

// The read end of a pipe that already holds all of input, its write end
// closed: written before the child starts, so a child that dies at once
// can never leave the write blocked or raise SIGPIPE. -1 on failure.
int filledPipe(std::span<const std::uint8_t> input) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    // More than the pipe holds fails instead of waiting for a reader.
    ::fcntl(fds[1], F_SETFL, O_NONBLOCK);
    std::size_t written = 0;
    while (written < input.size()) {
        const ssize_t n = ::write(fds[1], input.data() + written, input.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = errno;
            ::close(fds[0]);
            ::close(fds[1]);
            errno = error;
            return -1;
        }
        written += static_cast<std::size_t>(n);
    }
    ::close(fds[1]);
    return fds[0];
}

} // namespace

HelperProcess::HelperProcess(const std::string& program, const std::vector<std::string>& arguments,
                             std::span<const std::uint8_t> input) {
    int outPipe[2];
    int errPipe[2];
    // Close-on-exec, so other threads' children never inherit these ends.
    if (::pipe2(outPipe, O_CLOEXEC) != 0)
        throw EngineError(reader_errors::helperFailed, "Quarix could not start its file reader: " +
                                                           std::string(std::strerror(errno)));
    if (::pipe2(errPipe, O_CLOEXEC) != 0) {
        const int error = errno;
        ::close(outPipe[0]);
        ::close(outPipe[1]);
        throw EngineError(reader_errors::helperFailed, "Quarix could not start its file reader: " +
                                                           std::string(std::strerror(error)));
    }
    ::fcntl(outPipe[0], F_SETPIPE_SZ, largePipe);
    const int inPipe = input.empty() ? -1 : filledPipe(input);
    if (!input.empty() && inPipe < 0) {
        const int error = errno;
        for (int fd : {outPipe[0], outPipe[1], errPipe[0], errPipe[1]})
            ::close(fd);
        throw EngineError(reader_errors::helperFailed, "Quarix could not start its file reader: " +
                                                           std::string(std::strerror(error)));
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (inPipe >= 0)
        posix_spawn_file_actions_adddup2(&actions, inPipe, STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outPipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errPipe[1], STDERR_FILENO);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // Its own process group, so a kill also reaches anything it started.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    const int rc = posix_spawn(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(outPipe[1]);
    ::close(errPipe[1]);
    if (inPipe >= 0)
        ::close(inPipe);
    out_ = outPipe[0];
    err_ = errPipe[0];
    if (rc != 0) {
        pid_ = -1;
        closeFd(out_);
        closeFd(err_);
        throw EngineError(reader_errors::helperFailed, "Quarix could not start its file reader '" +
                                                           program + "': " + std::strerror(rc));
    }
}

HelperProcess::~HelperProcess() {
    kill();
    wait();
    closeFd(out_);
    closeFd(err_);
}

HelperProcess::Output HelperProcess::read(std::chrono::milliseconds wait, std::span<char> into) {
    Output result;
    pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
    const nfds_t count = err_ >= 0 ? 2 : 1;
    if (out_ < 0) {
        result.finished = true;
        return result;
    }
    const int ready = ::poll(fds, count, static_cast<int>(wait.count()));
    if (ready <= 0)
        return result;
    if (count == 2 && (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        char buffer[4096];
        const ssize_t n = ::read(err_, buffer, sizeof buffer);
        if (n > 0) {
            stderr_.append(buffer, static_cast<std::size_t>(n));
            if (stderr_.size() > stderrKept)
                stderr_.erase(0, stderr_.size() - stderrKept);
            result.activity = true;
        } else if (n == 0) {
            closeFd(err_);
        }
    }
    if ((fds[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
        const ssize_t n = ::read(out_, into.data(), into.size());
        if (n > 0) {
            result.bytes = static_cast<std::size_t>(n);
            result.activity = true;
        } else {
            if (n == 0 || errno != EINTR) {
                closeFd(out_);
                result.finished = true;
            }
        }
    }
    return result;
}

void HelperProcess::kill() {
    if (pid_ > 0 && !reaped_)
        ::kill(-pid_, SIGKILL);
}

int HelperProcess::wait() {
    if (pid_ > 0 && !reaped_) {
        while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        reaped_ = true;
        // Whatever the child left on standard error; never wait for more.
        if (err_ >= 0)
            ::fcntl(err_, F_SETFL, ::fcntl(err_, F_GETFL) | O_NONBLOCK);
        char buffer[4096];
        ssize_t n = 0;
        while (err_ >= 0 && (n = ::read(err_, buffer, sizeof buffer)) > 0)
            stderr_.append(buffer, static_cast<std::size_t>(n));
        if (stderr_.size() > stderrKept)
            stderr_.erase(0, stderr_.size() - stderrKept);
    }
    return status_;
}

} // namespace quarix::engine
