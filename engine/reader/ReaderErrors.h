#pragma once

#include "engine/EngineError.h"

#include <csignal>
#include <cstring>
#include <string>

namespace quarix::engine::reader_errors {

// Access's own numbers where Access has one for the case.
constexpr int fileNotFound = 3024;
constexpr int noPermission = 3051;
constexpr int wrongPassword = 3031;
constexpr int unsupportedEncryption = 3343;
constexpr int unrecognizedFormat = 3343;
constexpr int tableDamaged = 3343;
constexpr int incompleteFile = 3343;
constexpr int tableNotFound = 3078;
constexpr int resourceExceeded = 3035;
constexpr int canceled = 3059;
constexpr int helperFailed = 3000;

inline EngineError fileNotFoundError(const std::string& path) {
    return EngineError(fileNotFound, "Could not find file '" + path + "'.");
}
inline EngineError noPermissionError(const std::string& path) {
    return EngineError(noPermission,
                       "The file '" + path + "' cannot be opened: you need permission to read it.");
}
inline EngineError unrecognizedFormatError(const std::string& path) {
    return EngineError(unrecognizedFormat, "Unrecognized database format '" + path + "'.");
}
// As Access says it, for a missing password too.
inline EngineError wrongPasswordError() {
    return EngineError(wrongPassword, "Not a valid password.");
}
inline EngineError unsupportedEncryptionError(const std::string& path, const std::string& scheme) {
    return EngineError(unsupportedEncryption, "The database '" + path + "' is encrypted with " +
                                                  scheme + ", which Quarix cannot read.");
}
inline EngineError tableDamagedError(const std::string& table, const std::string& path) {
    return EngineError(tableDamaged, "The table '" + table + "' in '" + path +
                                         "' is damaged and cannot be read.");
}
inline EngineError incompleteFileError(const std::string& path) {
    return EngineError(incompleteFile,
                       "The database '" + path +
                           "' is damaged or incomplete: part of it is missing from the end of the "
                           "file. Quarix cannot read it.");
}
inline EngineError tableNotFoundError(const std::string& table, const std::string& path) {
    return EngineError(tableNotFound,
                       "Quarix cannot find the table '" + table + "' in '" + path + "'.");
}
// The reader ended by a signal. A crash comes from libmdb meeting damage;
// any other signal (the system stopping it for lack of memory, say) is
// not the file's doing.
inline EngineError readerStoppedError(int signal, const std::string& reading) {
    const std::string what = "Quarix's file reader stopped (signal " + std::to_string(signal) +
                             ", " + ::strsignal(signal) + ") while reading " + reading;
    switch (signal) {
    case SIGSEGV:
    case SIGBUS:
    case SIGILL:
    case SIGFPE:
    case SIGABRT:
    case SIGTRAP:
    case SIGSYS:
        return EngineError(tableDamaged, what + ": the file may be damaged.");
    default:
        return EngineError(resourceExceeded,
                           what + ". The system stops programs this way when it runs short of "
                                  "memory; close other programs and try again.");
    }
}
inline EngineError canceledError() {
    return EngineError(canceled, "Operation canceled by user.");
}

} // namespace quarix::engine::reader_errors
