// quarix-encrypted-bench [FOLDER]: the cost of decryption. A cold read (the
// file opened with an empty cache, then its whole People table read into
// it) of people-100k-enc.accdb, taken in turns with the same read of its
// plain twin people-100k.accdb. Both caches in memory, as an encrypted
// file's always is, so the two sides do the same work but for decrypting.
// Unlocking (the password hashed the 100,000 rounds the file asks for) is
// paid once when the password is given; it is measured on its own, and in a
// first open. Prints; does not pass or fail.
#include "engine/AccessDatabase.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using quarix::engine::AccessDatabase;
using quarix::engine::Secret;

namespace {

const std::string encryptedPassword = "1234";

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void readPeople(AccessDatabase& db) {
    const auto rows = db.execute("People")->rowCount();
    if (rows != 100000)
        std::fprintf(stderr, "bench: %s gave %lld rows\n", db.path().c_str(),
                     static_cast<long long>(rows));
}

// A cold read with the file already unlocked: the open databases and their
// caches are dropped (a change of cache settings does that), the password
// is kept.
double coldRead(const std::string& file) {
    AccessDatabase::setCacheEnabled(false);
    const auto start = std::chrono::steady_clock::now();
    readPeople(*AccessDatabase::open(file));
    return secondsSince(start);
}

// The first open of all: the password given, then a cold read.
double firstOpen(const std::string& file, const std::string& password) {
    AccessDatabase::forget(file);
    const auto start = std::chrono::steady_clock::now();
    readPeople(*AccessDatabase::open(file, Secret(password)));
    return secondsSince(start);
}

// The reader's peak memory for one cold read, in a child of its own so the
// two files' figures do not mix.
void memoryOf(const std::string& self, const std::string& file, const std::string& password) {
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        execl(self.c_str(), self.c_str(), "--memory", file.c_str(), password.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
}

int memoryChild(const std::string& file, const std::string& password) {
    AccessDatabase::setCacheEnabled(false);
    firstOpen(file, password);
    rusage self{}, reader{};
    getrusage(RUSAGE_SELF, &self);
    getrusage(RUSAGE_CHILDREN, &reader);
    std::printf("  %-24s this process %6.1f MB, reader process %5.1f MB\n",
                fs::path(file).filename().c_str(), self.ru_maxrss / 1024.0,
                reader.ru_maxrss / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 4 && std::string(argv[1]) == "--memory")
        return memoryChild(argv[2], argv[3]);
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::path("../shared/fixtures/bench");
    const std::string encrypted = (folder / "people-100k-enc.accdb").string();
    const std::string plain = (folder / "people-100k.accdb").string();
    if (!fs::exists(encrypted) || !fs::exists(plain)) {
        std::fprintf(stderr, "bench: %s or its plain twin not found\n", encrypted.c_str());
        return 1;
    }
    // Both files into the system's file cache, and the password given.
    firstOpen(encrypted, encryptedPassword);
    firstOpen(plain, "");

    constexpr int runs = 7;
    std::vector<double> ours, reference, firstOurs, firstReference;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(coldRead(encrypted));
        reference.push_back(coldRead(plain));
    }
    for (int i = 0; i < runs; ++i) {
        firstOurs.push_back(firstOpen(encrypted, encryptedPassword));
        firstReference.push_back(firstOpen(plain, ""));
    }
    const double a = median(ours);
    const double b = median(reference);
    const double first = median(firstOurs);
    const double firstPlain = median(firstReference);
    std::printf("Encrypted file (Agile AES-256, SHA-512), 100,000 rows; people-100k-enc.accdb "
                "against people-100k.accdb:\n");
    std::printf("cold read (open + whole table)   %7.3f s   plain %7.3f s   ratio %.2f (target <= "
                "1.15)\n",
                a, b, a / b);
    std::printf("first open, password given       %7.3f s   plain %7.3f s   ratio %.2f (unlocking "
                "%.3f s, once per password)\n",
                first, firstPlain, first / firstPlain, first - a);
    std::printf("(medians of %d runs taken in turns)\n\nPeak memory of one first open:\n", runs);
    memoryOf(argv[0], encrypted, encryptedPassword);
    memoryOf(argv[0], plain, "");
    return 0;
}
