// The command-line splitter and the switches on any text: the input is the
// argument limit (one byte), then the multi-user parameters and the
// program's arguments separated by zero bytes. Whatever the text, the
// split keeps to the limit and gives no empty argument.
#include "mainwindow/CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    CommandLineInput input;
    input.MaxArgs = data[0] % 16;
    const QList<QByteArray> parts =
        QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1))
            .split('\0');
    input.TSParameters = QString::fromUtf8(parts.first());
    for (qsizetype i = 1; i < parts.size(); ++i)
        input.arguments.append(QString::fromUtf8(parts[i]));
    // No file system: whether a path exists is a fixed function of the text.
    input.fileExists = [](const QString& path) { return path.size() % 3 == 0; };

    const QList<CommandLineArgument> split = splitCommandLine(input);
    if (split.size() > input.MaxArgs)
        std::abort();
    for (const CommandLineArgument& argument : split)
        if (argument.text.isEmpty())
            std::abort();

    SettingsValues values;
    SettingsLocation location;
    const CommandLineEffects effects = GetCommandLine(input, values, location, data[0] & 0x80);
    if (effects.messages.size() > split.size())
        std::abort();
    return 0;
}
