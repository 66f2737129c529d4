#pragma once

#include <QString>

class QWidget;

namespace quarix::tools {

// Hands a database file to the application the desktop has for its type
// (Microsoft Access's part on Windows). False when there is none or it
// could not be started; the caller says so.
bool Send_To_Access(const QString& senddbase);

// "Open Database in Access": the current database, made absolute when it
// begins with "..", to the desktop's application; a message when none.
void mnuAccess_Click(QWidget* parent, const QString& currentDatabasePath);

// "Compact Access Database": Quarix only reads Access files, so it says
// why the file cannot be compacted and leaves it untouched.
void mnuCompact_Click(QWidget* parent);

// The two lines of the compaction message.
QString compactMessage();

} // namespace quarix::tools
