// The main window's controls and their placement. Layouts place the
// controls, so that the window fits small screens and its boxes stretch;
// the lengths that remain in twips (the window's first size, column widths)
// are scaled to make room where the desktop's fonts are larger than the
// design assumed.
#include "mainwindow/ResultGridView.h"
#include "mainwindow/StepProgressBar.h"
#include "mainwindow/TypedText.h"
#include "mainwindow/WholeEntries.h"
#include "mainwindow/frmMain.h"
#include "search/Criteria.h"
#include "search/ResultGridModel.h"

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

// Design sizes that the layout rules refer to.
constexpr double kComboHeight = 330;
// The typed boxes may narrow to this many characters before the window
// stops shrinking, so that the whole band fits a window of about 650
// pixels at the desktop's usual font; wider windows give them the rest.
constexpr int kNarrowestBoxCharacters = 5;

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox* combo(QWidget* parent, const char* name, bool editable) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(editable);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    if (editable) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(kNarrowestBoxCharacters);
    } else {
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    }
    showWholeEntries(box);
    if (editable)
        offerSuggestions(box);
    return box;
}

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = named(new QLabel(text, parent), name);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = named(new QPushButton(text, parent), name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

Twips frmMain::twipsScale() const {
    const double dpi = screen() ? screen()->logicalDotsPerInch() : 96.0;
    const Twips plain(dpi, 1.0);
    // The design's smallest places must hold their text: a combo box's
    // line, a clock line, the "Undo Filter" caption. Everything grows alike.
    const QFontMetrics metrics(font());
    const double needs[] = {
        (metrics.height() + 8) / static_cast<double>(plain.px(kComboHeight)),
        (metrics.height() + 2) / static_cast<double>(plain.px(200)),
        (metrics.horizontalAdvance(QStringLiteral("Undo Filter")) + 12) /
            static_cast<double>(plain.px(930)),
    };
    return Twips(dpi, std::max(1.0, *std::max_element(std::begin(needs), std::end(needs))));
}

void frmMain::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralWidget"));
    setCentralWidget(central);

    fraDataMain = named(new QWidget(central), "fraDataMain");
    clockFrame = named(new QWidget(fraDataMain), "clockFrame");
    lblDate = label(clockFrame, "lblDate", QString());
    lblDay = label(clockFrame, "lblDay", QString());
    lblTime = label(clockFrame, "lblTime", QString());
    lblDate->setVisible(false);
    // The double-click area lies over the whole clock.
    calstart = label(clockFrame, "calstart", QString());
    calstart->setToolTip(QStringLiteral("Double-click for calendar"));
    calstart->installEventFilter(this);

    lblFROMTHE = label(fraDataMain, "lblFROMTHE", QStringLiteral("From the"));
    cmbTableQuery = combo(fraDataMain, "cmbTableQuery", false);
    cmbTable = combo(fraDataMain, "cmbTable", true);
    lblFIND = label(fraDataMain, "lblFIND", QStringLiteral("Find where"));
    CmbField = combo(fraDataMain, "CmbField", true);
    cmbFunction = combo(fraDataMain, "cmbFunction", false);
    cmbFunction->addItems(quarix::search::operatorCaptions());
    cmbValues = combo(fraDataMain, "cmbValues", true);
    cmdQuarix = button(fraDataMain, "cmdQuarix", QStringLiteral("&Search"));
    cmdQuarix->setDefault(true);
    cmdQuarix->setToolTip(QStringLiteral("Search the table for the value"));
    cmdClear = button(fraDataMain, "cmdClear", QStringLiteral("Undo Filter"));
    cmdClear->setToolTip(QStringLiteral("Remove the last filter or show all results"));
    cmdFilter = button(fraDataMain, "cmdFilter", QStringLiteral("Filter"));
    cmdFilter->setToolTip(
        QStringLiteral("Filter the current set of search results with new criteria"));
    cmdPage[0] = button(fraDataMain, "cmdPage0", QStringLiteral("Prev"));
    cmdPage[1] = button(fraDataMain, "cmdPage1", QStringLiteral("Next"));
    for (QPushButton* b : {cmdClear, cmdFilter, cmdPage[0], cmdPage[1]})
        b->setStyleSheet(QStringLiteral("QPushButton { padding: 0px 2px; }"));
    cmdQuarix->setStyleSheet(QStringLiteral("QPushButton { padding: 0px 8px; }"));
    for (QPushButton* b : cmdPage)
        b->setVisible(false);
    lblSQL = label(fraDataMain, "lblSQL", QStringLiteral("SQL"));
    lblDebug = label(fraDataMain, "lblDebug", QStringLiteral("DEBUG"));
    lblDebug->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    lblSQL->setVisible(false);
    lblDebug->setVisible(false);
    progBar1 = named(new StepProgressBar(fraDataMain), "progBar1");
    progBar1->setRange(0, 100);
    progBar1->setTextVisible(false);

    cmdClearSQL = button(central, "cmdClearSQL", QStringLiteral("Clear SQL"));
    txtSearch = named(new QLineEdit(central), "txtSearch");
    txtSearch->setToolTip(
        QStringLiteral("Enter SQL Statements here - SELECT * FROM table WHERE ..."));
    cmdClearSQL->setVisible(false);
    txtSearch->setVisible(false);

    MSFlexGrid1 = named(new ResultGridView(central), "MSFlexGrid1");
    gridModel_ = new quarix::search::ResultGridModel(this);
    MSFlexGrid1->setModel(gridModel_);

    typedTextKeys_ = new TypedTextKeys(this);
    for (QComboBox* box : {cmbTable, CmbField, cmbValues})
        typedTextKeys_->watchCriteria(box);
    typedTextKeys_->watchSearchText(txtSearch);
    typedTextKeys_->leaveToWindow({menus_.mnuopen->shortcut(), menus_.mnuExcel->shortcut(),
                                   menus_.mnusavedsearch[0]->shortcut()});
    connect(typedTextKeys_, &TypedTextKeys::searchRequested, this, &frmMain::requestSearch);

    // The status bar repeats the run's summary beside the database in use.
    lblStatus = label(statusBar(), "lblStatus", QString());
    lblDatabase = label(statusBar(), "lblDatabase", QString());
    lblFilterArmed = label(statusBar(), "lblFilterArmed", QString());
    cmdDropFilter = button(statusBar(), "cmdDropFilter", QStringLiteral("Clear Filter"));
    cmdDropFilter->setToolTip(QStringLiteral("Let the next search start afresh"));
    lblFilterArmed->setVisible(false);
    cmdDropFilter->setVisible(false);
    statusBar()->addWidget(lblStatus, 1);
    statusBar()->addPermanentWidget(lblFilterArmed);
    statusBar()->addPermanentWidget(cmdDropFilter);
    statusBar()->addPermanentWidget(lblDatabase);
    connect(this, &QWidget::windowTitleChanged, lblDatabase,
            [this] { lblDatabase->setText(CurrentDatabasePath); });

    calender = named(new QCalendarWidget(central), "calender");
    calender->setVisible(false);

    layOutControls();

    // Tab order follows the way a search is composed.
    setTabOrder(cmbTableQuery, cmbTable);
    setTabOrder(cmbTable, CmbField);
    setTabOrder(CmbField, cmbFunction);
    setTabOrder(cmbFunction, cmbValues);
    setTabOrder(cmbValues, cmdQuarix);
    setTabOrder(cmdQuarix, cmdFilter);
    setTabOrder(cmdFilter, cmdClear);
}

// The criteria band: the clock, then two rows of boxes that stretch with
// the window (table and field, value), then the buttons, with the progress
// bar under them all. Below it the SQL row, then the grid.
void frmMain::layOutControls() {
    auto* clock = new QVBoxLayout(clockFrame);
    clock->setContentsMargins(0, 0, 0, 0);
    clock->setSpacing(0);
    auto* dateLine = new QHBoxLayout;
    dateLine->addWidget(lblDate);
    dateLine->addWidget(lblDay);
    clock->addLayout(dateLine);
    clock->addWidget(lblTime);
    auto* flags = new QHBoxLayout;
    flags->setSpacing(6);
    flags->addWidget(lblSQL);
    flags->addWidget(lblDebug);
    flags->addStretch();
    clock->addLayout(flags);
    clock->addStretch();
    // The clock keeps its width as the date and the weekday take turns.
    const QFontMetrics metrics(font());
    const QLocale locale;
    int clockWidth = metrics.horizontalAdvance(locale.toString(QTime(23, 59, 59)));
    for (int day = 1; day <= 7; ++day)
        clockWidth = std::max(clockWidth,
                              metrics.horizontalAdvance(locale.dayName(day, QLocale::LongFormat)));
    clockWidth = std::max(clockWidth, metrics.horizontalAdvance(locale.toString(
                                          QDate(2028, 12, 28), QLocale::ShortFormat)));
    clockFrame->setFixedWidth(clockWidth + 4);
    calstart->raise();

    auto* band = new QGridLayout(fraDataMain);
    band->setContentsMargins(0, 0, 0, 0);
    band->setHorizontalSpacing(4);
    band->setVerticalSpacing(3);
    band->addWidget(clockFrame, 0, 0, 2, 1);
    band->addWidget(lblFROMTHE, 0, 1);
    band->addWidget(lblFIND, 1, 1);
    auto* tableRow = new QHBoxLayout;
    tableRow->setSpacing(4);
    tableRow->addWidget(cmbTableQuery);
    tableRow->addWidget(cmbTable, 1);
    band->addLayout(tableRow, 0, 2);
    auto* criteriaRow = new QHBoxLayout;
    criteriaRow->setSpacing(4);
    criteriaRow->addWidget(CmbField, 1);
    criteriaRow->addWidget(cmbFunction);
    criteriaRow->addWidget(cmbValues, 1);
    band->addLayout(criteriaRow, 1, 2);
    cmdQuarix->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    band->addWidget(cmdQuarix, 0, 3, 2, 1);
    band->addWidget(cmdClear, 0, 4);
    band->addWidget(cmdFilter, 1, 4);
    band->addWidget(cmdPage[0], 0, 5);
    band->addWidget(cmdPage[1], 1, 5);
    band->addWidget(progBar1, 2, 0, 1, 6);
    band->setColumnStretch(2, 1);
    progBar1->setFixedHeight(6);

    auto* sqlRow = new QHBoxLayout;
    sqlRow->setSpacing(6);
    sqlRow->addWidget(cmdClearSQL);
    sqlRow->addWidget(txtSearch, 1);

    auto* page = new QVBoxLayout(centralWidget());
    page->setContentsMargins(4, 3, 4, 2);
    page->setSpacing(3);
    page->addWidget(fraDataMain);
    page->addLayout(sqlRow);
    page->addWidget(MSFlexGrid1, 1);
    MSFlexGrid1->setMinimumHeight(QFontMetrics(font()).height() * 4);
}

void frmMain::Form_Resize() {
    if (isMinimized() || !fraDataMain)
        return;
    twips_ = twipsScale();
    centralWidget()->layout()->activate();
    calstart->setGeometry(clockFrame->rect());
    placeCalendar();
}

void frmMain::placeCalendar() {
    calender->resize(calender->sizeHint());
    calender->move(MSFlexGrid1->geometry().topLeft());
    calender->raise();
}

// The window and its frame stay within the screen's free area: a size
// saved on a larger screen, or at a smaller scale, is cut down to it.
void frmMain::keepWithinScreen() {
    const QScreen* shown = screen();
    if (!shown || isMaximized() || isFullScreen() || isMinimized())
        return;
    const QRect room = shown->availableGeometry();
    const QRect frame = frameGeometry();
    const QSize frameExtra = frame.size() - size();
    const QSize fitting = size().boundedTo(room.size() - frameExtra);
    if (fitting != size())
        resize(fitting.expandedTo(minimumSize()));
    const QRect placed = frameGeometry();
    QPoint corner = placed.topLeft();
    corner.setX(std::clamp(corner.x(), room.left(),
                           std::max(room.left(), room.right() + 1 - placed.width())));
    corner.setY(std::clamp(corner.y(), room.top(),
                           std::max(room.top(), room.bottom() + 1 - placed.height())));
    if (corner != placed.topLeft())
        move(corner);
}
