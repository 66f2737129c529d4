#include "tools/frmPrograms.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "tools/ProgramsMenu.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace quarix::tools {

namespace {
const QString kTitle = QStringLiteral("Quarix");
}

frmPrograms::frmPrograms(std::array<QString, 10>& programs, const QString& autoLoadDatabase,
                         QWidget* parent)
    : QDialog(parent), programs_(programs), autoLoadDatabase_(autoLoadDatabase), list_(programs) {
    setObjectName(QStringLiteral("frmPrograms"));
    setWindowTitle(QStringLiteral("Programs"));

    auto* heading = new QLabel(QStringLiteral("Programs"), this);
    QFont big = heading->font();
    big.setPointSizeF(big.pointSizeF() * 1.5);
    big.setBold(true);
    heading->setFont(big);

    txtProgname = new QLineEdit(QStringLiteral("Program Name"), this);
    txtProgname->setObjectName(QStringLiteral("txtProgname"));
    txtProgname->installEventFilter(this);
    txtProgfile = new QLineEdit(this);
    txtProgfile->setObjectName(QStringLiteral("txtProgfile"));
    cmdFiles = new QPushButton(QStringLiteral("..."), this);
    cmdFiles->setObjectName(QStringLiteral("cmdFiles"));
    cmdFiles->setToolTip(QStringLiteral("Click to select program"));
    cmdFiles->setFixedWidth(cmdFiles->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    cmdAdd = new QPushButton(QStringLiteral("ADD >>"), this);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->setToolTip(QStringLiteral("Add program to list"));

    lstPrograms = new QListWidget(this);
    lstPrograms->setObjectName(QStringLiteral("lstPrograms"));
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->addItems(programShortcuts());
    List1->setSelectionMode(QAbstractItemView::NoSelection);
    List1->setFocusPolicy(Qt::NoFocus);
    List1->setFixedWidth(List1->fontMetrics().horizontalAdvance(QStringLiteral("F12")) + 24);
    List1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    cmdUp = new QPushButton(QStringLiteral("Move Up"), this);
    cmdUp->setObjectName(QStringLiteral("cmdUp"));
    cmdDown = new QPushButton(QStringLiteral("Move Down"), this);
    cmdDown->setObjectName(QStringLiteral("cmdDown"));
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    Label2 = new QLabel(
        QStringLiteral(
            "You can add up to 10 other programs which will appear in the Other Programs "
            "menu for easy access.  Double click a program to remove it."),
        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);

    auto* entry = new QGridLayout;
    entry->addWidget(txtProgname, 0, 0, 1, 2);
    entry->addWidget(txtProgfile, 1, 0);
    entry->addWidget(cmdFiles, 1, 1);
    entry->addWidget(cmdAdd, 2, 0, 1, 2, Qt::AlignRight);
    entry->setRowStretch(3, 1);
    auto* lists = new QHBoxLayout;
    lists->setSpacing(0);
    lists->addWidget(List1);
    lists->addWidget(lstPrograms, 1);
    auto* moves = new QVBoxLayout;
    moves->addWidget(cmdUp);
    moves->addWidget(cmdDown);
    moves->addStretch();
    moves->addWidget(OKButton);
    moves->addWidget(CancelButton);
    auto* body = new QHBoxLayout;
    body->addLayout(entry, 2);
    body->addLayout(lists, 3);
    body->addLayout(moves);
    auto* page = new QVBoxLayout(this);
    page->addWidget(heading);
    page->addLayout(body);
    page->addWidget(Label2);
    resize(720, 330);

    connect(cmdFiles, &QPushButton::clicked, this, &frmPrograms::cmdFiles_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmPrograms::cmdAdd_Click);
    connect(lstPrograms, &QListWidget::itemClicked, this, &frmPrograms::lstPrograms_Click);
    connect(lstPrograms, &QListWidget::itemDoubleClicked, this, &frmPrograms::lstPrograms_DblClick);
    connect(cmdUp, &QPushButton::clicked, this, &frmPrograms::cmdUp_Click);
    connect(cmdDown, &QPushButton::clicked, this, &frmPrograms::cmdDown_Click);
    connect(OKButton, &QPushButton::clicked, this, &frmPrograms::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    showList(-1);
}

bool frmPrograms::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtProgname && event->type() == QEvent::MouseButtonPress)
        txtProgname->clear();
    return QDialog::eventFilter(watched, event);
}

void frmPrograms::showList(int selectRow) {
    lstPrograms->clear();
    lstPrograms->addItems(list_.entries());
    if (selectRow >= 0 && selectRow < lstPrograms->count())
        lstPrograms->setCurrentRow(selectRow);
}

void frmPrograms::cmdFiles_Click() {
    const QString start = autoLoadDatabase_.isEmpty()
                              ? QString()
                              : QFileInfo(QDir::current(), autoLoadDatabase_).absolutePath();
    const auto chosen =
        platform::FileDialog::openFileName(this, QStringLiteral("Select Database"), {}, start);
    if (!chosen || chosen->isEmpty() || *chosen == QStringLiteral("*.*"))
        return;
    txtProgfile->setText(QFileInfo(*chosen).absoluteFilePath());
    txtProgname->setText(QFileInfo(*chosen).fileName());
}

void frmPrograms::cmdAdd_Click() {
    if (const auto refusal = list_.add(txtProgname->text(), txtProgfile->text())) {
        platform::MessageBox::show(this, *refusal, kTitle);
        return;
    }
    showList(lstPrograms->currentRow());
}

void frmPrograms::lstPrograms_Click() {
    const ProgramEntry entry =
        splitEntry(lstPrograms->currentItem() ? lstPrograms->currentItem()->text() : QString());
    txtProgname->setText(entry.name);
    txtProgfile->setText(entry.path);
}

void frmPrograms::lstPrograms_DblClick() {
    const int row = lstPrograms->currentRow();
    if (row < 0)
        return;
    const QString name = splitEntry(list_.entries()[row]).name;
    const auto answer = platform::MessageBox::show(
        this, QStringLiteral("Delete '") + name + QStringLiteral("' from Programs?"),
        QStringLiteral("Delete Program from Menu?"), platform::MessageBox::Icon::Question,
        QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return;
    list_.remove(row);
    showList(-1);
}

void frmPrograms::cmdUp_Click() {
    showList(list_.moveUp(lstPrograms->currentRow()));
}

void frmPrograms::cmdDown_Click() {
    showList(list_.moveDown(lstPrograms->currentRow()));
}

void frmPrograms::OKButton_Click() {
    programs_ = list_.toSlots();
    accept();
}

} // namespace quarix::tools
