#include "catalogue/Dao.h"

#include "catalogue/FieldValue.h"
#include "engine/AccessDatabase.h"

namespace quarix::catalogue {

using engine::AccessDatabase;
using engine::ResultSet;

class DatabaseImpl {
public:
    std::shared_ptr<AccessDatabase> db;
    engine::ReadOptions options;
};

// A record set is opened lazily: a table opened only to be filtered is
// never copied whole.
class RecordsetImpl {
public:
    std::shared_ptr<DatabaseImpl> database;
    QString source;    // a table or query name, or a statement
    QString criterion; // a filter on source, when not empty
    std::shared_ptr<ResultSet> rows;

    ResultSet& result() {
        if (!rows) {
            const std::string src = source.toStdString();
            rows = criterion.isEmpty()
                       ? database->db->execute(src, database->options)
                       : database->db->filter(src, criterion.toStdString(), database->options);
        }
        return *rows;
    }
};

namespace {

[[noreturn]] void noCurrentRecord() {
    throw EngineError(3021, "No current record.");
}

QStringList namesOf(const auto& items) {
    QStringList names;
    for (const auto& item : items)
        names << QString::fromStdString(item.name);
    return names;
}

} // namespace

Recordset::Recordset() = default;
Recordset::~Recordset() = default;
Recordset::Recordset(Recordset&&) noexcept = default;
Recordset& Recordset::operator=(Recordset&&) noexcept = default;

long Recordset::RecordCount() const {
    return impl_ ? static_cast<long>(impl_->result().rowCount()) : 0;
}
bool Recordset::EOF_() const {
    return !impl_ || position_ >= RecordCount();
}
bool Recordset::BOF() const {
    return !impl_ || position_ < 0 || RecordCount() == 0;
}
long Recordset::AbsolutePosition() const {
    return EOF_() || position_ < 0 ? -1 : position_;
}

void Recordset::MoveFirst() {
    if (RecordCount() == 0)
        noCurrentRecord();
    position_ = 0;
}

void Recordset::MoveLast() {
    if (RecordCount() == 0)
        noCurrentRecord();
    position_ = RecordCount() - 1;
}

void Recordset::MoveNext() {
    if (EOF_())
        noCurrentRecord();
    ++position_;
}

void Recordset::MovePrevious() {
    if (position_ < 0)
        noCurrentRecord();
    --position_;
}

void Recordset::Move(long rows) {
    const long target = position_ + rows;
    if (target < -1 || target > RecordCount())
        noCurrentRecord();
    position_ = target;
}

void Recordset::setAbsolutePosition(long position) {
    if (position < 0 || position >= RecordCount())
        noCurrentRecord();
    position_ = position;
}

int Recordset::FieldCount() const {
    return impl_ ? static_cast<int>(impl_->result().columns().size()) : 0;
}

QString Recordset::FieldName(int index) const {
    return QString::fromStdString(
        impl_->result().columns().at(static_cast<std::size_t>(index)).name);
}

engine::ColumnType Recordset::FieldType(int index) const {
    return impl_->result().columns().at(static_cast<std::size_t>(index)).type;
}

Field Recordset::Fields(int index) const {
    if (EOF_() || position_ < 0)
        noCurrentRecord();
    ResultSet& result = impl_->result();
    const auto& values = result.row(position_);
    const auto column = static_cast<std::size_t>(index);
    if (index < 0 || column >= values.size())
        throw EngineError(3265, "Item not found in this collection.");
    Field field;
    field.name_ = FieldName(index);
    field.type_ = FieldType(index);
    field.value_ = fieldValue(field.type_, values[column]);
    field.text_ = QString::fromStdString(result.text(column, values[column]));
    return field;
}

Recordset Recordset::OpenRecordset() const {
    if (!impl_)
        throw EngineError(3420, "Object invalid or no longer set.");
    Recordset filtered;
    filtered.impl_ = std::make_shared<RecordsetImpl>();
    filtered.impl_->database = impl_->database;
    filtered.impl_->source = impl_->source;
    filtered.impl_->criterion = impl_->criterion;
    if (!Filter.isEmpty()) {
        if (!impl_->database->db->isSourceName(impl_->source.toStdString()))
            throw EngineError(3251, "Operation is not supported for this type of object.");
        filtered.impl_->criterion =
            impl_->criterion.isEmpty()
                ? Filter
                : QStringLiteral("(%1) AND (%2)").arg(impl_->criterion, Filter);
    }
    return filtered;
}

void Recordset::Close() {
    impl_.reset();
    position_ = 0;
}

Database::Database() = default;
Database::~Database() = default;
Database::Database(Database&&) noexcept = default;
Database& Database::operator=(Database&&) noexcept = default;

QString Database::Name() const {
    return impl_ ? QString::fromStdString(impl_->db->path()) : QString();
}

QStringList Database::TableDefs() const {
    QStringList names;
    for (const auto& table : impl_->db->catalogue().tables)
        if (!engine::holdsComplexValues(table))
            names << QString::fromStdString(table.name);
    return names;
}
QStringList Database::QueryDefs() const {
    return namesOf(impl_->db->catalogue().queries);
}
QStringList Database::Forms() const {
    return namesOf(impl_->db->catalogue().forms);
}
QStringList Database::Reports() const {
    return namesOf(impl_->db->catalogue().reports);
}

QString Database::QueryDefSql(const QString& name) const {
    return QString::fromStdString(impl_->db->savedQuerySql(name.toStdString()));
}

Recordset Database::OpenRecordset(const QString& source, int) const {
    if (!impl_)
        throw EngineError(3420, "Object invalid or no longer set.");
    Recordset rs;
    rs.impl_ = std::make_shared<RecordsetImpl>();
    rs.impl_->database = impl_;
    rs.impl_->source = source;
    // A statement is checked and run at once, as the engine does; a name is
    // opened when its rows are first needed.
    if (!impl_->db->isSourceName(source.toStdString()))
        rs.impl_->result();
    return rs;
}

void Database::Close() {
    impl_.reset();
}

Database Workspace::OpenDatabase(const QString& path, bool) {
    Database db;
    db.impl_ = std::make_shared<DatabaseImpl>();
    db.impl_->db = AccessDatabase::open(path.toStdString());
    db.impl_->options.progress = progress_.report;
    db.impl_->options.cancel = progress_.cancel;
    return db;
}

void Workspace::setReadProgress(ReadProgress progress) {
    progress_ = std::move(progress);
}

DBEngine& DBEngine::instance() {
    static DBEngine engine;
    return engine;
}

Workspace& DBEngine::Workspaces(int) {
    return workspace_;
}
void DBEngine::setCacheEnabled(bool enabled) {
    AccessDatabase::setCacheEnabled(enabled);
}
void DBEngine::setCacheLimitBytes(std::uint64_t bytes) {
    AccessDatabase::setCacheLimitBytes(bytes);
}

} // namespace quarix::catalogue
