#pragma once

#include <QByteArray>

#include <optional>

namespace quarix::cli {

// A database's password: the first line of standard input when asked to
// read it there, else typed at the terminal without echo; nothing when
// standard input is no terminal and was not offered.
std::optional<QByteArray> readPassword(bool fromStandardInput, const char* fileName);

} // namespace quarix::cli
