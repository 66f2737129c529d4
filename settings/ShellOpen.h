#pragma once

#include <QString>

#include <functional>

// Opens a file with the application the desktop has for its type (the
// shell's "open"); false when the file is missing or nothing could open it.
// The window supplies the platform's launcher; tests record the calls.
using ShellOpen = std::function<bool(const QString& path)>;
