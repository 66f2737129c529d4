#include "history/frmAutoLoad.h"

#include "catalogue/CatalogueNames.h"
#include "engine/EngineError.h"
#include "history/AutoLoad.h"
#include "history/AutoLoadCatalogue.h"
#include "platform/FileDialog.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace quarix::history {

namespace {

const QString accessFilter = QStringLiteral("Microsoft Access (*.mdb, *.accdb)|*.mdb;*.accdb");

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

bool fileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isFile();
}

} // namespace

template <typename F> void frmAutoLoad::whileBusy(F&& call) {
    struct Reset {
        QPointer<frmAutoLoad> dialog;
        ~Reset() {
            if (dialog)
                dialog->m_busy = false;
        }
    } reset{this};
    m_busy = true;
    call();
}

frmAutoLoad::frmAutoLoad(AutoLoadPort port, QWidget* parent)
    : QDialog(parent), m_port(std::move(port)), m_settings(*m_port.window.settings) {
    setObjectName(QStringLiteral("frmAutoLoad"));
    setWindowTitle(QStringLiteral("Quarix AutoLoad"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    fillControls();
}

void frmAutoLoad::buildControls() {
    auto* root = new QVBoxLayout(this);
    auto* intro = named(
        new QLabel(QStringLiteral("If you are using the same database regularly you can set that "
                                  "database to load automatically when you start Quarix.")),
        "Label4");
    intro->setWordWrap(true);
    root->addWidget(intro);

    chkDefaultdb =
        named(new QCheckBox(QStringLiteral("Load a default database when Quarix starts")),
              "chkDefaultdb");
    root->addWidget(chkDefaultdb);

    auto* grid = new QGridLayout;
    grid->addWidget(named(new QLabel(QStringLiteral("Default Database:")), "Label1"), 0, 0);
    txtDefault = named(new QLineEdit, "txtDefault");
    txtDefault->setMinimumWidth(320);
    grid->addWidget(txtDefault, 0, 1);
    cmdFiles = named(new QPushButton(QStringLiteral("...")), "cmdFiles");
    cmdFiles->setToolTip(QStringLiteral("Click to select/change database"));
    cmdFiles->setAutoDefault(false);
    cmdFiles->setFixedWidth(cmdFiles->fontMetrics().horizontalAdvance(QStringLiteral("...")) * 3);
    grid->addWidget(cmdFiles, 0, 2);
    grid->addWidget(named(new QLabel(QStringLiteral("In table:")), "Label2"), 1, 0);
    cmbTable = named(new QComboBox, "cmbTable");
    cmbTable->setEditable(true);
    cmbTable->setInsertPolicy(QComboBox::NoInsert);
    grid->addWidget(cmbTable, 1, 1);
    grid->addWidget(named(new QLabel(QStringLiteral("In field:")), "Label3"), 2, 0);
    CmbField = named(new QComboBox, "CmbField");
    CmbField->setEditable(true);
    CmbField->setInsertPolicy(QComboBox::NoInsert);
    grid->addWidget(CmbField, 2, 1);
    root->addLayout(grid);

    cmdCurrent =
        named(new QPushButton(QStringLiteral("Copy from Current Quarix Search")), "cmdCurrent");
    cmdCurrent->setAutoDefault(false);
    auto* currentRow = new QHBoxLayout;
    currentRow->addWidget(cmdCurrent);
    currentRow->addStretch();
    root->addLayout(currentRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    OKButton = named(new QPushButton(QStringLiteral("OK")), "OKButton");
    OKButton->setDefault(true);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel")), "cmdCancel");
    cmdCancel->setAutoDefault(false);
    buttons->addWidget(OKButton);
    buttons->addWidget(cmdCancel);
    root->addLayout(buttons);

    cmbTable->installEventFilter(this);
    CmbField->installEventFilter(this);
    connect(chkDefaultdb, &QCheckBox::toggled, this, [this] { chkDefaultdb_Click(); });
    connect(cmdFiles, &QPushButton::clicked, this, [this] { cmdFiles_Click(); });
    connect(cmdCurrent, &QPushButton::clicked, this, [this] { cmdCurrent_Click(); });
    connect(OKButton, &QPushButton::clicked, this, [this] { OKButton_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmAutoLoad::fillControls() {
    // The boxes open disabled; ticking the check box (also by the stored
    // value below) or copying the current search enables them.
    for (QWidget* box : {static_cast<QWidget*>(txtDefault), static_cast<QWidget*>(cmbTable),
                         static_cast<QWidget*>(CmbField)})
        box->setEnabled(false);
    if (!m_settings.UseDefault.isEmpty())
        chkDefaultdb->setChecked(autoLoadIsOn(m_settings));
    txtDefault->setText(m_settings.AutoLoadDatabase);
    if (fileExists(m_settings.AutoLoadDatabase)) {
        cmbTable->setEditText(m_settings.AutoLoadTable);
        CmbField->setEditText(m_settings.AutoLoadField);
    }
}

void frmAutoLoad::chkDefaultdb_Click() {
    if (!chkDefaultdb->isChecked())
        return;
    txtDefault->setEnabled(true);
    cmbTable->setEnabled(true);
    CmbField->setEnabled(true);
}

void frmAutoLoad::Load_cmbTable(const QString& dbname) {
    cmbTable->clear();
    cmbTable->clearEditText();
    auto names = std::make_shared<QStringList>();
    const int showTables = m_settings.ShowTables;
    const int showQueries = m_settings.ShowQueries;
    session::submitOrRun(
        m_port.worker, this,
        [=](const engine::ReadOptions&) {
            *names = autoLoadTableNames(dbname, showTables, showQueries);
        },
        [this, names](const session::JobReport& report) {
            if (report.end == session::JobEnd::Failed)
                showReadingError("LOAD TABLES", report.number, report.description);
            if (report.end != session::JobEnd::Done)
                return;
            cmbTable->addItems(*names);
            cmbTable->setCurrentIndex(-1);
            cmbTable->clearEditText();
        });
}

void frmAutoLoad::Load_cmbField(const QString& dbname) {
    const QString table = cmbTable->currentText();
    auto fields = std::make_shared<QStringList>();
    session::submitOrRun(
        m_port.worker, this,
        [=](const engine::ReadOptions&) { *fields = autoLoadFieldNames(dbname, table); },
        [this, fields](const session::JobReport& report) {
            if (report.end == session::JobEnd::Failed) {
                CmbField->clear();
                showReadingError("LOAD FIELDS", report.number, report.description);
                CmbField->clearEditText();
            }
            if (report.end != session::JobEnd::Done)
                return;
            CmbField->clear();
            CmbField->addItems(*fields);
            CmbField->setCurrentIndex(fields->isEmpty() ? -1 : 0);
        });
}

void frmAutoLoad::showReadingError(const char* job, int number, const QString& description) {
    const QString text = QString::fromLatin1(job) + QStringLiteral(": Error Reading Database\n") +
                         QString::number(number) + QLatin1Char(' ') + description;
    whileBusy([&] { platform::MessageBox::show(this, text); });
}

void frmAutoLoad::cmdFiles_Click() {
    const QString typed = txtDefault->text();
    const QString start = typed.isEmpty() ? QString() : QFileInfo(typed).absoluteFilePath();
    std::optional<QString> chosen;
    whileBusy([&] {
        chosen = platform::FileDialog::openFileName(this, QStringLiteral("Select Database"),
                                                    accessFilter, start);
    });
    if (!chosen || !catalogue::namesADatabase(*chosen))
        return;
    txtDefault->setText(QFileInfo(*chosen).absoluteFilePath());
    Load_cmbTable(txtDefault->text());
}

void frmAutoLoad::cmdCurrent_Click() {
    const QString current = *m_port.window.currentDatabasePath;
    if (current.isEmpty())
        return;
    txtDefault->setText(current);
    cmbTable->setEnabled(true);
    CmbField->setEnabled(true);
    if (fileExists(current)) {
        cmbTable->setEditText(m_port.window.tableText());
        CmbField->setEditText(m_port.window.fieldText());
    }
}

void frmAutoLoad::OKButton_Click() {
    const bool on = chkDefaultdb->isChecked();
    m_settings.UseDefault = on ? QStringLiteral("1") : QStringLiteral("0");
    if (m_port.setAutoLoadChecked)
        m_port.setAutoLoadChecked(on);
    if (on) {
        m_settings.AutoLoadDatabase = txtDefault->text();
        m_settings.AutoLoadTable = cmbTable->currentText();
        m_settings.AutoLoadField = CmbField->currentText();
    }
    // The dialog closes first, so the window's lengthy open neither keeps it
    // on screen nor finds it half deleted; the open uses copies only.
    SearchWindowPort window = m_port.window;
    const QString database = m_settings.AutoLoadDatabase;
    accept();
    if (on)
        openDefaultDatabase(database, window, true);
}

bool frmAutoLoad::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Coming back from the box's own drop-down or from another window
        // is not entering the box.
        const bool entered =
            reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
        if (entered && watched == cmbTable && !txtDefault->text().isEmpty())
            Load_cmbTable(txtDefault->text());
        else if (entered && watched == CmbField && !cmbTable->currentText().isEmpty() &&
                 !txtDefault->text().isEmpty())
            Load_cmbField(txtDefault->text());
    }
    return QDialog::eventFilter(watched, event);
}

void frmAutoLoad::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || isActiveWindow() || m_busy)
        return;
    QTimer::singleShot(0, this, [this] {
        QWidget* active = QApplication::activeWindow();
        if (!m_busy && isVisible() && active && active != this && !isAncestorOf(active))
            reject();
    });
}

} // namespace quarix::history
