#pragma once

// The database interface the rest of Quarix calls, named after the Access
// data access objects so that callers read like the operations they mirror:
//   auto& ws = DBEngine::instance().Workspaces(0);
//   Database db = ws.OpenDatabase(path, false);
//   Recordset rs = db.OpenRecordset("select * from [T] WHERE ...", dbOpenSnapshot);
//   rs.MoveLast(); long n = rs.RecordCount(); rs.MoveFirst();
//   while (!rs.EOF_()) { rs.Fields(0).Value(); rs.MoveNext(); }
// Every failure throws quarix::engine::EngineError (number + description).

#include "engine/ColumnType.h"
#include "engine/EngineError.h"

#include <QString>
#include <QStringList>
#include <QVariant>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace quarix::catalogue {

using engine::EngineError;

constexpr int dbOpenDynaset = 2;
constexpr int dbOpenSnapshot = 4;

class RecordsetImpl;
class DatabaseImpl;

// One field of the current record.
class Field {
public:
    QString Name() const { return name_; }
    engine::ColumnType Type() const { return type_; }
    // Typed value: Null is an invalid QVariant; numbers as qint64/double,
    // dates as QDateTime, booleans as bool, text as QString, binary as QByteArray.
    QVariant Value() const { return value_; }
    bool IsNull() const { return !value_.isValid(); }
    // The value as the user sees it (empty for Null).
    QString Text() const { return text_; }

private:
    friend class Recordset;
    QString name_;
    engine::ColumnType type_ = engine::ColumnType::Unknown;
    QVariant value_;
    QString text_;
};

// A read-only snapshot of rows. It pages through the engine's cache, so a
// million-row result does not live in memory.
class Recordset {
public:
    Recordset();
    ~Recordset();
    Recordset(Recordset&&) noexcept;
    Recordset& operator=(Recordset&&) noexcept;

    bool EOF_() const;             // past the last record (or no records)
    bool BOF() const;              // before the first record
    long RecordCount() const;      // the full count (known from the start)
    long AbsolutePosition() const; // 0-based current record, -1 at EOF/BOF
    void MoveFirst();
    void MoveLast(); // 3021 "No current record." when there are no rows
    void MoveNext();
    void MovePrevious();
    void Move(long rows);
    void setAbsolutePosition(long position);

    int FieldCount() const;
    QString FieldName(int index) const;
    engine::ColumnType FieldType(int index) const;
    Field Fields(int index) const; // 3021 when there is no current record

    // Filter, then OpenRecordset(): a new record set holding only the rows
    // of this one that meet the criterion.
    QString Filter;
    Recordset OpenRecordset() const;

    void Close();

private:
    friend class Database;
    std::shared_ptr<RecordsetImpl> impl_;
    long position_ = 0;
};

class Database {
public:
    Database();
    ~Database();
    Database(Database&&) noexcept;
    Database& operator=(Database&&) noexcept;

    QString Name() const;          // the path
    QStringList TableDefs() const; // every table in the file's order, system tables included (not
                                   // the hidden value tables of attachment and multi-value columns)
    QStringList QueryDefs() const; // every saved query, ~sq_ ones included
    QStringList Forms() const;
    QStringList Reports() const;
    // The Access SQL of a saved query as rebuilt from the file.
    QString QueryDefSql(const QString& name) const;

    // A table or query name, or an Access SQL statement.
    Recordset OpenRecordset(const QString& source, int type = dbOpenDynaset) const;
    void Close();

private:
    friend class Workspace;
    std::shared_ptr<DatabaseImpl> impl_;
};

// Progress of reading a table into the cache; cancel by setting the flag.
struct ReadProgress {
    std::function<void(std::uint64_t rowsRead, std::uint64_t rowsExpected)> report;
    std::atomic<bool>* cancel = nullptr;
};

class Workspace {
public:
    // Opens a database for reading. 3024 when the file does not exist,
    // 3343 when it is not an Access file (or is damaged).
    Database OpenDatabase(const QString& path, bool exclusive = false);
    // Progress and cancel for the reads of the calling thread.
    void setReadProgress(ReadProgress progress);

private:
    ReadProgress progress_;
    friend class Database;
};

class DBEngine {
public:
    static DBEngine& instance();
    Workspace& Workspaces(int index);

    // Cache settings: on by default, under $XDG_CACHE_HOME/quarix.
    static void setCacheEnabled(bool enabled);
    static void setCacheLimitBytes(std::uint64_t bytes);

private:
    Workspace workspace_;
};

} // namespace quarix::catalogue
