#include "tools/frmAbout.h"

#include "tools/AboutInfo.h"

#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

namespace quarix::tools {

namespace {

// The program's picture: a magnifier over a table, drawn so that no image
// file has to ship with the program.
QPixmap programPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size / 64.0;
    p.setPen(QPen(QColor(0x1F, 0x4E, 0x78), 2 * s));
    p.setBrush(QColor(0xDD, 0xEB, 0xF7));
    p.drawRect(QRectF(4 * s, 6 * s, 40 * s, 36 * s));
    for (int line = 1; line < 4; ++line)
        p.drawLine(QPointF(4 * s, (6 + 9 * line) * s), QPointF(44 * s, (6 + 9 * line) * s));
    p.drawLine(QPointF(18 * s, 6 * s), QPointF(18 * s, 42 * s));
    p.setBrush(QColor(255, 255, 255, 200));
    p.setPen(QPen(QColor(0xC0, 0x50, 0x20), 4 * s));
    p.drawEllipse(QPointF(38 * s, 36 * s), 13 * s, 13 * s);
    p.drawLine(QPointF(47 * s, 45 * s), QPointF(60 * s, 58 * s));
    return picture;
}

} // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About ") + programTitle());

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(programPicture(64));
    lblTitle = new QLabel(programTitle(), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(QStringLiteral("Version ") + versionText(), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblDescription = new QLabel(
        QStringLiteral(
            "Searches Microsoft Access databases (.mdb and .accdb) quickly, without Access: pick a "
            "table "
            "or query, a field, an operator and a value, and the matching records appear at once."),
        this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    Label2 = new QLabel(QStringLiteral("Quarix never writes to your databases."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("Built with Qt %1, SQLite, libmdb and libxlsxwriter.")
                            .arg(QString::fromLatin1(qVersion())),
                        this);
    Label3->setObjectName(QStringLiteral("Label3"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto* grid = new QGridLayout(this);
    grid->addWidget(picIcon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1, 1, 2);
    grid->addWidget(Label2, 3, 1, 1, 2);
    grid->addWidget(Label3, 4, 1, 1, 2);
    grid->setRowMinimumHeight(5, 12);
    grid->addWidget(cmdOK, 6, 2);
    grid->addWidget(cmdSysInfo, 7, 2);
    grid->setColumnStretch(1, 1);
    setFixedWidth(480);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::close);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { StartSysInfo(this); });
}

void frmAbout::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() &&
        !QApplication::activeModalWidget() && isVisible())
        close();
}

} // namespace quarix::tools
