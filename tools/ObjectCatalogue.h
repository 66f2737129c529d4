#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace quarix::tools {

// The four lists of the object viewer, read from a database's catalogue:
// forms and reports from the system catalogue, tables without the "MSys"
// ones, queries without the hidden "~sq_" ones; in the file's own order.
struct ObjectLists {
    QStringList reports;
    QStringList forms;
    QStringList tables;
    QStringList queries;
    // "LOAD OBJECTS: Error Reading Database" and the engine's error, when
    // the catalogue could not be read (the lists hold what was read before).
    std::optional<QString> error;
};

// Empty lists and no error when the path is empty or the file is gone.
ObjectLists Load_Objects(const QString& databasePath);

} // namespace quarix::tools
