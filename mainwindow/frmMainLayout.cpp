// The main window's controls and their placement. Positions are the
// window's design in twips; the scale makes room where the desktop's fonts
// are larger than the design assumed.
#include "mainwindow/ResultGridView.h"
#include "mainwindow/TypedText.h"
#include "mainwindow/WholeEntries.h"
#include "mainwindow/frmMain.h"
#include "search/Criteria.h"
#include "search/ResultGridModel.h"

#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

#include <algorithm>
#include <iterator>

namespace {

// Design sizes that the layout rules refer to.
constexpr double kBandWidth = 10600; // the criteria band; also the narrowest window
constexpr double kMinHeight = 2200;
constexpr double kGridTop = 710;
constexpr double kGridTopSqlMode = 1100;
constexpr double kMargin = 10;
constexpr double kComboHeight = 330;
// A little air between the window's edge and the criteria band.
constexpr double kInsetLeft = 60;
constexpr double kInsetTop = 40;

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QComboBox* combo(QWidget* parent, const char* name, bool editable) {
    auto* box = named(new QComboBox(parent), name);
    box->setEditable(editable);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
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

QRect frmMain::designRect(double left, double top, double width, double height) const {
    return twips_.rect(left, top, width, height);
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
    calstart = label(fraDataMain, "calstart", QString());
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
    for (QPushButton* b : cmdPage)
        b->setVisible(false);
    lblSQL = label(fraDataMain, "lblSQL", QStringLiteral("SQL"));
    lblDebug = label(fraDataMain, "lblDebug", QStringLiteral("DEBUG"));
    lblDebug->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    lblSQL->setVisible(false);
    lblDebug->setVisible(false);
    progBar1 = named(new QProgressBar(fraDataMain), "progBar1");
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

    // Tab order follows the way a search is composed.
    setTabOrder(cmbTableQuery, cmbTable);
    setTabOrder(cmbTable, CmbField);
    setTabOrder(CmbField, cmbFunction);
    setTabOrder(cmbFunction, cmbValues);
    setTabOrder(cmbValues, cmdQuarix);
    setTabOrder(cmdQuarix, cmdFilter);
    setTabOrder(cmdFilter, cmdClear);
}

void frmMain::Form_Resize() {
    if (isMinimized() || !fraDataMain)
        return;
    twips_ = twipsScale();
    setMinimumSize(twips_.px(kBandWidth + kInsetLeft),
                   twips_.px(kMinHeight) + menuBar()->sizeHint().height());

    const int width = centralWidget()->width();
    const int height = centralWidget()->height();
    const int inset = twips_.px(kInsetTop);
    fraDataMain->setGeometry(twips_.px(kInsetLeft), inset,
                             std::max(twips_.px(kBandWidth), width - twips_.px(kInsetLeft)),
                             twips_.px(720));
    clockFrame->setGeometry(designRect(0, 0, 1500, 495));
    calstart->setGeometry(designRect(0, 0, 1500, 495));
    calstart->raise();
    lblDate->setGeometry(designRect(10, 40, 1480, 200));
    lblDay->setGeometry(designRect(10, 40, 1480, 200));
    lblTime->setGeometry(designRect(10, 240, 1480, 200));
    // Each label stands left of the row it names; the buttons keep apart from the boxes.
    lblFROMTHE->setGeometry(designRect(1560, 40, 1150, 255));
    cmbTableQuery->setGeometry(designRect(2760, 0, 885, 330));
    cmbTable->setGeometry(designRect(3700, 0, 2200, 330));
    lblFIND->setGeometry(designRect(1560, 360, 1150, 255));
    CmbField->setGeometry(designRect(2760, 320, 1900, 330));
    cmbFunction->setGeometry(designRect(4700, 320, 1200, 330));
    cmbValues->setGeometry(designRect(5940, 320, 2000, 330));
    cmdQuarix->setGeometry(designRect(8060, 75, 690, 510));
    cmdClear->setGeometry(designRect(8830, 75, 930, 225));
    cmdFilter->setGeometry(designRect(8830, 300, 930, 285));
    cmdPage[0]->setGeometry(designRect(9800, 75, 800, 245));
    cmdPage[1]->setGeometry(designRect(9800, 340, 800, 245));
    lblSQL->setGeometry(designRect(75, 450, 345, 190));
    lblDebug->setGeometry(designRect(480, 450, 600, 190));

    progBar1->setGeometry(0, twips_.px(640), fraDataMain->width() - twips_.px(kInsetLeft),
                          twips_.px(75));
    // "Clear SQL" needs more than the design's 600 twips at desktop font sizes.
    const int clearWidth = std::max(twips_.px(600), cmdClearSQL->sizeHint().width());
    cmdClearSQL->setGeometry(twips_.px(kInsetLeft), inset + twips_.px(740), clearWidth,
                             twips_.px(330));
    const int sqlLeft = twips_.px(kInsetLeft) + clearWidth + twips_.px(40);
    txtSearch->setGeometry(sqlLeft, inset + twips_.px(740), width - sqlLeft - twips_.px(kInsetLeft),
                           twips_.px(330));

    const double top = settings.SQLMode ? kGridTopSqlMode : kGridTop;
    const int gridTop = inset + twips_.px(top) + 2;
    MSFlexGrid1->setGeometry(twips_.px(kMargin), gridTop, width - 2 * twips_.px(kMargin),
                             height - gridTop - twips_.px(kMargin));
    placeCalendar();
}

void frmMain::placeCalendar() {
    calender->resize(calender->sizeHint());
    calender->move(twips_.px(kInsetLeft),
                   twips_.px(kInsetTop + (settings.SQLMode ? kGridTopSqlMode : kGridTop)));
    calender->raise();
}
