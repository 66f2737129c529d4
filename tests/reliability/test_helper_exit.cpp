// The reader helper ends cleanly after a read, so that under the
// sanitizers a report from it stands for a real fault.
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

int runHelper(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        std::vector<char*> argv{const_cast<char*>(QUARIX_READER)};
        for (const std::string& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        ::execv(QUARIX_READER, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Jet 3 text goes through a code page converter kept for the whole run; it
// used to be torn down with the static objects, which the leak checker
// reported at every exit.
TEST(ReaderHelper, ExitsCleanlyAfterReadingJet3AndJet4Files) {
    for (const char* fixture : {"real/testV1997.mdb", "shop.mdb", "shop.accdb"}) {
        const std::string path = quarix::test::dataFile(fixture);
        EXPECT_EQ(runHelper({"catalogue", path}), 0) << fixture;
        EXPECT_EQ(runHelper({"table", path, "MSysObjects"}), 0) << fixture;
    }
}

} // namespace
