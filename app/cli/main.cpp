#include "app/cli/CliCommands.h"
#include "app/cli/CliOptions.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

#include <unistd.h>

namespace {

// What went wrong with the output, for the message: the system's reason
// when it gave one.
std::string reason() {
    return errno ? std::string(": ") + std::strerror(errno) : std::string();
}

} // namespace

int main(int argc, char* argv[]) {
    using namespace quarix::cli;
    const ParseResult parsed = parseCommandLine({argv + 1, argv + argc});
    const CliOptions& options = parsed.options;
    if (!parsed.error.empty()) {
        std::cerr << "quarix-cli: " << parsed.error << "\n\n" << helpText(options.command);
        return UsageError;
    }
    if (options.version) {
        std::cout << "quarix-cli " << QUARIX_VERSION << "\n";
        return Success;
    }
    if (options.help) {
        std::cout << helpText(options.command);
        return Success;
    }
    if (options.output.empty()) {
        const int code = runCommand(options, std::cout, std::cerr);
        errno = 0;
        std::cout.flush();
        // A full disk or a closed pipe: the output is not whole, whatever the command found.
        if (!std::cout) {
            std::cerr << "quarix-cli: cannot write the output" << reason() << "\n";
            return OutputError;
        }
        // Whoever reads the output has all of it before the indexes are built.
        std::fflush(stdout);
        ::close(STDOUT_FILENO);
        buildIndexesLeft();
        return code;
    }

    std::ofstream file(options.output, std::ios::binary | std::ios::trunc);
    if (!file) {
        std::cerr << "quarix-cli: cannot write '" << options.output << "'" << reason() << "\n";
        return OutputError;
    }
    const int code = runCommand(options, file, std::cerr);
    errno = 0;
    file.close();
    if (!file) {
        std::cerr << "quarix-cli: cannot write '" << options.output << "'" << reason() << "\n";
        return OutputError;
    }
    buildIndexesLeft();
    return code;
}
