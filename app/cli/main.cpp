#include "app/cli/CliCommands.h"
#include "app/cli/CliOptions.h"

#include <fstream>
#include <iostream>

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
    if (options.output.empty())
        return runCommand(options, std::cout, std::cerr);

    std::ofstream file(options.output, std::ios::binary | std::ios::trunc);
    if (!file) {
        std::cerr << "quarix-cli: cannot write '" << options.output << "'\n";
        return OutputError;
    }
    const int code = runCommand(options, file, std::cerr);
    file.close();
    if (!file) {
        std::cerr << "quarix-cli: cannot write '" << options.output << "'\n";
        return OutputError;
    }
    return code;
}
