#include "settings/frmSettings.h"

#include "settings/ColorModule.h"
#include "settings/ColourValue.h"
#include "settings/IniFile.h"
#include "settings/SearchLog.h"
#include "settings/SettingsText.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Far more rows than any page or value list needs, and within an int.
constexpr int kLargestWholeSetting = 999999999;

const QStringList winStates = {QStringLiteral("Normal"), QStringLiteral("Maximised"),
                               QStringLiteral("Minimised")};

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* note(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

} // namespace

template <typename F> auto frmSettings::whileBusy(F&& call) {
    const QPointer<frmSettings> self(this);
    m_busy = true;
    struct Reset {
        QPointer<frmSettings> dialog;
        ~Reset() {
            if (dialog)
                dialog->m_busy = false;
        }
    } reset{self};
    return call();
}

frmSettings::frmSettings(SettingsValues& values, SettingsLocation& location,
                         SettingsEnvironment env, SettingsDialogPort port, QWidget* parent)
    : QDialog(parent), m_values(values), m_location(location), m_env(std::move(env)),
      m_port(std::move(port)) {
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Quarix Settings"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    if (!m_port.chooseColour)
        m_port.chooseColour = ChooseGridColor;
    buildControls();
    fillControls();
}

void frmSettings::buildControls() {
    auto* root = new QVBoxLayout(this);
    root->addWidget(note(QStringLiteral(
        "Settings can be configured for a machine or user. You can set defaults "
        "for the grid and disable common functions. Settings can affect performance.")));

    auto* gridBox = named(new QGroupBox(QStringLiteral("Grid Options")), "fraGrid");
    auto* gridForm = new QFormLayout;
    m_fontSize = named(new QComboBox, "cmbFontSize");
    for (int size = 8; size <= 24; size += 2)
        m_fontSize->addItem(QString::number(size));
    gridForm->addRow(QStringLiteral("Grid Font Size"), m_fontSize);
    auto* wholeNumbers = new QIntValidator(0, kLargestWholeSetting, this);
    m_resultMax = named(new QLineEdit, "txtResultMax");
    m_resultMax->setValidator(wholeNumbers);
    gridForm->addRow(QStringLiteral("Paging Results Max"), m_resultMax);
    m_valueListMax = named(new QLineEdit, "txtValueListMax");
    m_valueListMax->setValidator(wholeNumbers);
    gridForm->addRow(QStringLiteral("Value List Maximum"), m_valueListMax);
    m_autofit = named(new QCheckBox(QStringLiteral("Auto-fit results in grid")), "chkautofit");
    gridForm->addRow(m_autofit);
    m_paging = named(new QCheckBox(QStringLiteral("Grid Paging (MDB option)")), "chkGridPaging");
    gridForm->addRow(m_paging);
    auto* colours = new QGridLayout;
    const char* colourNames[] = {"cmdBgcolor_0", "cmdBgcolor_1", "cmdBgcolor_2", "cmdBgcolor_3"};
    const QString colourTexts[] = {QStringLiteral("Grid Background"), QStringLiteral("Cell Colour"),
                                   QStringLiteral("Text Colour"), QStringLiteral("Reset Colours")};
    const QString colourTips[] = {QStringLiteral("Change grid background color"),
                                  QStringLiteral("Change cell color"), QString(),
                                  QStringLiteral("Reset colors to default")};
    for (int i = 0; i < 4; ++i) {
        auto* button = named(new QPushButton(colourTexts[i]), colourNames[i]);
        button->setToolTip(colourTips[i]);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { chooseColour(i); });
        colours->addWidget(button, i / 2, i % 2);
    }
    gridForm->addRow(colours);
    gridBox->setLayout(gridForm);

    auto* windowBox = named(new QGroupBox, "fraWindow");
    auto* windowLayout = new QVBoxLayout(windowBox);
    auto* winStateForm = new QFormLayout;
    m_winState = named(new QComboBox, "cmbwinstate");
    m_winState->addItems(winStates);
    winStateForm->addRow(QStringLiteral("Window Size"), m_winState);
    windowLayout->addLayout(winStateForm);
    m_tables = named(new QCheckBox(QStringLiteral("Show Tables")), "chkTableon");
    m_queries = named(new QCheckBox(QStringLiteral("Show Queries")), "chkQueryon");
    m_last10 = named(new QCheckBox(QStringLiteral("Disable Last 10 menu")), "chklast10");
    m_hideFilter = named(new QCheckBox(QStringLiteral("Disable Filter button")), "chkHidefilter");
    for (QWidget* w : {static_cast<QWidget*>(m_tables), static_cast<QWidget*>(m_queries),
                       static_cast<QWidget*>(m_last10), static_cast<QWidget*>(m_hideFilter)})
        windowLayout->addWidget(w);
    windowLayout->addStretch();

    auto* logBox = named(new QGroupBox, "fraLog");
    auto* logLayout = new QVBoxLayout(logBox);
    auto* logRow = new QHBoxLayout;
    m_writeLog = named(new QCheckBox(QStringLiteral("Enable Quarix Log File")), "chkwritelog");
    m_log = named(new QPushButton(QStringLiteral("CSV Log File")), "cmdLog");
    m_log->setToolTip(QStringLiteral("Click to view log file in Excel"));
    m_log->setAutoDefault(false);
    connect(m_log, &QPushButton::clicked, this, &frmSettings::openLog);
    logRow->addWidget(m_writeLog);
    logRow->addStretch();
    logRow->addWidget(m_log);
    logLayout->addLayout(logRow);
    logLayout->addWidget(note(
        QStringLiteral("The log file captures search and performance information for analysis.")));

    auto* dataBox = named(new QGroupBox, "fraData");
    auto* dataRow = new QHBoxLayout(dataBox);
    m_saveData = named(new QCheckBox(QStringLiteral("Save settings on exit")), "chkData");
    m_ini = named(new QPushButton(QStringLiteral("INI")), "cmdINI");
    m_ini->setAutoDefault(false);
    connect(m_ini, &QPushButton::clicked, this, &frmSettings::openSettingsFile);
    m_dataFile = named(new QLabel, "lblDataFile");
    dataRow->addWidget(m_saveData);
    dataRow->addWidget(m_ini);
    dataRow->addStretch();
    dataRow->addWidget(m_dataFile);

    auto* multiBox = named(new QGroupBox, "fraTermServ");
    auto* multiLayout = new QVBoxLayout(multiBox);
    auto* multiRow = new QHBoxLayout;
    m_termServ = named(new QCheckBox(QStringLiteral("Multi-User Computer")), "chkTermServ");
    m_tsParameters = named(new QLineEdit, "txtTSparameters");
    multiRow->addWidget(m_termServ);
    multiRow->addSpacing(12);
    multiRow->addWidget(new QLabel(QStringLiteral("User Parameters")));
    multiRow->addWidget(m_tsParameters, 1);
    multiLayout->addLayout(multiRow);
    multiLayout->addWidget(note(
        QStringLiteral("This feature allows multiple users of the same computer to have "
                       "different settings. All Quarix command line parameters will work here.")));

    auto* columns = new QHBoxLayout;
    columns->addWidget(gridBox, 3);
    auto* right = new QVBoxLayout;
    right->addWidget(windowBox);
    right->addWidget(logBox);
    columns->addLayout(right, 2);
    root->addLayout(columns);
    root->addWidget(dataBox);
    root->addWidget(multiBox);

    auto* buttons = new QDialogButtonBox;
    auto* ok =
        named(buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole), "OKButton");
    auto* cancel = named(buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole),
                         "CancelButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &frmSettings::okClicked);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    root->addWidget(buttons);
}

void frmSettings::fillControls() {
    const SettingsValues& v = m_values;
    const double state = settings_text::leadingNumber(v.WindowState);
    const int stateIndex = v.WindowState.trimmed().isEmpty() ? -1
                           : state == 0                      ? 0
                           : state == 2                      ? 1
                           : state == 1                      ? 2
                                                             : -1;
    m_winState->setCurrentIndex(stateIndex);

    // A size the list lacks (an edited file) is offered too, so OK keeps it.
    if (m_fontSize->findText(v.GridFontSize) < 0)
        m_fontSize->addItem(v.GridFontSize);
    m_fontSize->setCurrentText(v.GridFontSize);

    m_tables->setChecked(v.ShowTables != 0);
    m_tables->setEnabled(!m_location.TablesLocked);
    m_queries->setChecked(v.ShowQueries != 0);
    m_queries->setEnabled(!m_location.QueriesLocked);
    if (!v.AutoFitGrid.isEmpty())
        m_autofit->setChecked(v.autoFitGridNumber() != 0);
    m_paging->setChecked(v.GridPaging);
    m_last10->setChecked(!v.ShowLast10);
    m_hideFilter->setChecked(v.HideFilter != 0);
    m_writeLog->setChecked(v.WriteLog);
    m_log->setEnabled(v.WriteLog);
    m_resultMax->setText(v.MaxResults);
    m_valueListMax->setText(v.ValueListMax);
    m_saveData->setChecked(v.SaveDataNumber != 0);
    m_ini->setVisible(v.SaveDataNumber != 0);
    m_dataFile->setText(m_location.TermServMode ? QStringLiteral("User Data File")
                                                : QStringLiteral("Machine Data File"));
    m_termServ->setChecked(m_location.TermServMode);
    m_termServ->setEnabled(!m_location.TSLocked);
    m_tsParameters->setText(m_location.TSParameters);
    m_tsParameters->setEnabled(!m_location.TSLocked);
}

void frmSettings::chooseColour(int index) {
    if (!m_port.applyGridColour)
        return;
    if (index == 3) {
        // The grid's own colours, which follow the desktop's theme.
        m_port.applyGridColour(GridColour::Background, kSystemAppWorkspace);
        m_port.applyGridColour(GridColour::Cell, kSystemWindowBackground);
        m_port.applyGridColour(GridColour::Text, kSystemWindowText);
        return;
    }
    const std::optional<qint32> chosen = whileBusy([this] { return m_port.chooseColour(); });
    if (!chosen)
        return;
    const GridColour targets[] = {GridColour::Background, GridColour::Cell, GridColour::Text};
    m_port.applyGridColour(targets[index], *chosen);
}

void frmSettings::openSettingsFile() {
    const QString path = settingsFilePath(m_location.SettingsFolder);
    if (!QFileInfo::exists(path) && m_port.writeSettingsFile)
        m_port.writeSettingsFile();
    if (whileBusy([this] { return OpenIniFile(m_location.SettingsFolder, m_port.open); }))
        return;
    if (m_port.showMessage)
        whileBusy([&] {
            m_port.showMessage(QStringLiteral("The settings file %1 could not be opened.")
                                   .arg(QDir::toNativeSeparators(path)));
        });
}

void frmSettings::openLog() {
    if (whileBusy([this] { return openSearchLog(m_env, m_port.open); }))
        return;
    if (m_port.showMessage)
        whileBusy([this] { m_port.showMessage(kSearchLogNotFound); });
    m_log->setEnabled(false);
}

// Enters or leaves multi-user mode as the check box asks; true when the
// mode changed and the main window must reload.
bool frmSettings::switchMultiUserMode() {
    QString error;
    QString failure;
    if (!m_location.TermServMode && m_termServ->isChecked()) {
        if (writeMarkerFile(m_env, m_tsParameters->text(), &error)) {
            m_location.TermServMode = true;
            return true;
        }
        failure = QStringLiteral(
            "Quarix could not switch multi-user mode on: %1 could not be written (%2).");
    } else if (m_location.TermServMode && !m_termServ->isChecked()) {
        if (deleteMarkerFile(m_env, &error)) {
            m_location.TermServMode = false;
            return true;
        }
        failure = QStringLiteral(
            "Quarix could not switch multi-user mode off: %1 could not be deleted (%2).");
    } else {
        return false;
    }
    if (m_port.showMessage)
        whileBusy([&] { m_port.showMessage(failure.arg(markerFilePath(m_env), error)); });
    return false;
}

bool frmSettings::numbersAreWhole() {
    const std::pair<QLineEdit*, QString> boxes[] = {
        {m_resultMax, QStringLiteral("Paging Results Max")},
        {m_valueListMax, QStringLiteral("Value List Maximum")}};
    for (const auto& [box, name] : boxes) {
        if (box->hasAcceptableInput())
            continue;
        if (m_port.showMessage)
            whileBusy([&] {
                m_port.showMessage(QStringLiteral("%1 takes a whole number from 0 to %2.")
                                       .arg(name, QString::number(kLargestWholeSetting)));
            });
        box->setFocus();
        box->selectAll();
        return false;
    }
    return true;
}

void frmSettings::okClicked() {
    if (!m_tables->isChecked() && !m_queries->isChecked()) {
        if (m_port.showMessage)
            whileBusy([this] {
                m_port.showMessage(QStringLiteral(
                    "Show Tables or Show Queries must stay on: without either there is "
                    "nothing to search."));
            });
        return;
    }
    if (!numbersAreWhole())
        return;
    SettingsValues& v = m_values;
    v.GridFontSize = m_fontSize->currentText();
    v.ShowTables = m_tables->isChecked() ? 1 : 0;
    v.ShowQueries = m_queries->isChecked() ? 1 : 0;
    v.AutoFitGrid = m_autofit->isChecked() ? QStringLiteral("1") : QStringLiteral("0");

    // Switching saving off leaves the flag on until the next load, so the
    // next save still runs once and records "0".
    const bool saveChecked = m_saveData->isChecked();
    if (v.SaveDataNumber == 0)
        v.SaveData = saveChecked;
    v.SaveDataNumber = saveChecked ? 1 : 0;

    v.HideFilter = m_hideFilter->isChecked() ? 1 : 0;
    v.MaxResults = m_resultMax->text();
    const qsizetype stateIndex = winStates.indexOf(m_winState->currentText());
    if (stateIndex >= 0)
        v.WindowState = QString::number(stateIndex == 0 ? 0 : stateIndex == 1 ? 2 : 1);
    v.GridPaging = m_paging->isChecked();
    v.ShowLast10 = !m_last10->isChecked();
    v.ValueListMax = m_valueListMax->text();
    v.WriteLog = m_writeLog->isChecked();

    const bool reload = switchMultiUserMode();
    if (m_port.accepted)
        m_port.accepted(reload);
    accept();
}

// Losing the focus to another window of the program closes the dialog
// without storing anything.
void frmSettings::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || isActiveWindow() || m_busy)
        return;
    QTimer::singleShot(0, this, [this] {
        QWidget* active = QApplication::activeWindow();
        if (!m_busy && isVisible() && active && active != this && !isAncestorOf(active))
            reject();
    });
}
