#include "app/cli/PasswordInput.h"

#include "engine/crypto/Secret.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>

namespace quarix::cli {

namespace {

// One line from a descriptor, byte by byte, so that nothing after it is
// read ahead into a buffer that would keep a copy.
std::optional<QByteArray> readLine(int fd) {
    QByteArray line;
    char c = 0;
    ssize_t got = 0;
    while ((got = ::read(fd, &c, 1)) == 1 && c != '\n')
        line.append(c);
    if (got < 0 || (got == 0 && line.isEmpty()))
        return std::nullopt;
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

// Echo off for as long as the password is typed.
class EchoOff {
public:
    explicit EchoOff(int fd) : fd_(fd) {
        active_ = ::tcgetattr(fd_, &saved_) == 0;
        if (!active_)
            return;
        termios quiet = saved_;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(fd_, TCSAFLUSH, &quiet);
    }
    ~EchoOff() {
        if (active_)
            ::tcsetattr(fd_, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

} // namespace

std::optional<QByteArray> readPassword(bool fromStandardInput, const char* fileName) {
    if (fromStandardInput)
        return readLine(STDIN_FILENO);
    if (!::isatty(STDIN_FILENO))
        return std::nullopt;
    std::fprintf(stderr, "Password for '%s': ", fileName);
    std::fflush(stderr);
    const EchoOff quiet(STDIN_FILENO);
    return readLine(STDIN_FILENO);
}

} // namespace quarix::cli
