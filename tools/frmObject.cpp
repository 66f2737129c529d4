#include "tools/frmObject.h"

#include "engine/EngineError.h"
#include "platform/MessageBox.h"
#include "session/DatabaseHandle.h"
#include "tools/DatabaseHandOver.h"
#include "tools/RecordsetViewer.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quarix::tools {

namespace {
const QString kTitle = QStringLiteral("Quarix");

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};
} // namespace

frmObject::frmObject(const QString& currentDatabasePath, session::DatabaseWorker* worker,
                     QWidget* parent)
    : QDialog(parent), databasePath_(currentDatabasePath), worker_(worker) {
    setObjectName(QStringLiteral("frmObject"));
    setWindowTitle(QStringLiteral("Quarix Objects"));
    setAttribute(Qt::WA_DeleteOnClose);

    Label4 = new QLabel(
        QStringLiteral("Launch Microsoft Access Objects included in the current database."), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setWordWrap(true);
    auto* page = new QVBoxLayout(this);
    page->addWidget(Label4);

    // Top to bottom: report, form, table, query.
    const struct {
        int index;
        const char* label;
        const char* list;
        const char* button;
        QComboBox** box;
    } rows[] = {{ReportRow, "Report:", "cmbReport", "Print Preview", &cmbReport},
                {FormRow, "Form:", "cmbForm", "Open", &cmbForm},
                {TableRow, "Table:", "cmbTable", "Open", &cmbTable},
                {QueryRow, "Query:", "cmbQuery", "Open", &cmbQuery}};
    for (const auto& row : rows) {
        auto* frame = new QGroupBox(this);
        frame->setObjectName(QStringLiteral("Frame1_%1").arg(row.index));
        auto* line = new QHBoxLayout(frame);
        auto* label = new QLabel(QString::fromLatin1(row.label), frame);
        label->setObjectName(QStringLiteral("Label2_%1").arg(row.index));
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("Report:")) +
                               8);
        auto* box = new QComboBox(frame);
        box->setObjectName(QString::fromLatin1(row.list));
        box->setMinimumWidth(260);
        auto* button = new QPushButton(QString::fromLatin1(row.button), frame);
        button->setObjectName(QStringLiteral("cmdShow_%1").arg(row.index));
        line->addWidget(label);
        line->addWidget(box, 1);
        line->addWidget(button);
        page->addWidget(frame);
        *row.box = box;
        cmdShow[static_cast<std::size_t>(row.index)] = button;
        const int index = row.index;
        connect(button, &QPushButton::clicked, this, [this, index] { cmdShow_Click(index); });
    }
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    page->addWidget(cmdOK, 0, Qt::AlignRight);

    auto lists = std::make_shared<ObjectLists>();
    session::submitOrRun(
        worker_, this,
        [path = databasePath_, lists](const engine::ReadOptions&) { *lists = Load_Objects(path); },
        [this, lists](const session::JobReport&) {
            fill(*lists);
            if (lists->error)
                platform::MessageBox::show(parentWidget(), *lists->error, kTitle);
        });
}

void frmObject::fill(const ObjectLists& lists) {
    cmbReport->addItems(lists.reports);
    cmbForm->addItems(lists.forms);
    cmbTable->addItems(lists.tables);
    cmbQuery->addItems(lists.queries);
}

void frmObject::cmdShow_Click(int index) {
    QComboBox* lists[] = {cmbForm, cmbTable, cmbQuery, cmbReport};
    const QString name = lists[index]->currentText();
    if (name.isEmpty())
        return;
    if (index == FormRow || index == ReportRow) {
        const WaitCursor hourglass;
        if (!Send_To_Access(databasePath_))
            platform::MessageBox::show(
                this,
                QStringLiteral("Forms and reports need Microsoft Access, and no application "
                               "to open Access databases is installed."),
                kTitle);
        return;
    }
    openViewer(name, index == QueryRow);
}

void frmObject::openViewer(const QString& name, bool query) {
    struct Opened {
        QString sql; // a saved query's SQL as rebuilt from the file
        std::shared_ptr<engine::ResultSet> rows;
    };
    auto opened = std::make_shared<Opened>();
    session::submitOrRun(
        worker_, this,
        [path = databasePath_, name, query, opened](const engine::ReadOptions& options) {
            const auto db = session::DatabaseHandle(path).open();
            if (query)
                opened->sql = QString::fromStdString(db->savedQuerySql(name.toStdString()));
            opened->rows = db->execute(name.toStdString(), options);
        },
        // The hourglass shows until the report comes or the dialog is gone.
        [this, name, opened,
         hourglass = std::make_shared<WaitCursor>()](const session::JobReport& report) mutable {
            hourglass.reset();
            if (report.end == session::JobEnd::Done) {
                (new RecordsetViewer(opened->rows, databasePath_, name, opened->sql, this))->show();
                return;
            }
            if (report.end != session::JobEnd::Failed)
                return;
            QString text = QStringLiteral("'%1' cannot be opened.\r\n%2 %3")
                               .arg(name)
                               .arg(report.number)
                               .arg(report.description);
            if (!opened->sql.isEmpty())
                text += QStringLiteral("\r\n\r\n") + opened->sql;
            platform::MessageBox::show(this, text, kTitle);
        });
}

QList<RecordsetViewer*> frmObject::viewers() const {
    return findChildren<RecordsetViewer*>(QString(), Qt::FindDirectChildrenOnly);
}

void frmObject::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || isActiveWindow())
        return;
    QWidget* now = QApplication::activeWindow();
    if (!now || QApplication::activeModalWidget())
        return;
    for (RecordsetViewer* viewer : viewers()) {
        if (viewer == now)
            return;
    }
    close();
}

} // namespace quarix::tools
