#include "mainwindow/AttachmentListDialog.h"

#include "platform/FileDialog.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "session/AttachmentFolder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QVBoxLayout>

using quarix::platform::MessageBox;

namespace {

// Opened copies live here, readable by the user only, until the program ends.
const QTemporaryDir& openedCopies() {
    static const QTemporaryDir folder(QDir::tempPath() +
                                      QStringLiteral("/quarix-attachments-XXXXXX"));
    return folder;
}

void reportFailure(QWidget* parent, const QString& text) {
    MessageBox::show(parent, text, QStringLiteral("Quarix - Attachments"),
                     MessageBox::Icon::Warning);
}

} // namespace

AttachmentListDialog::AttachmentListDialog(QWidget* parent, const QString& title,
                                           std::vector<quarix::engine::AttachmentFile> files)
    : QDialog(parent), files_(std::move(files)) {
    setObjectName(QStringLiteral("attachmentList"));
    setWindowTitle(title);
    list_ = new QTableWidget(static_cast<int>(files_.size()), 2, this);
    list_->setObjectName(QStringLiteral("attachmentFiles"));
    list_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Size")});
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    for (int i = 0; i < static_cast<int>(files_.size()); ++i) {
        const auto& file = files_[static_cast<std::size_t>(i)];
        list_->setItem(i, 0, new QTableWidgetItem(QString::fromStdString(file.name)));
        list_->setItem(
            i, 1,
            new QTableWidgetItem(
                file.bytes ? QLocale().formattedDataSize(static_cast<qint64>(file.bytes->size()))
                           : QStringLiteral("damaged")));
    }
    list_->resizeColumnToContents(0);
    if (!files_.empty())
        list_->selectRow(0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* open = buttons->addButton(QStringLiteral("Open"), QDialogButtonBox::ActionRole);
    open->setObjectName(QStringLiteral("openAttachment"));
    QPushButton* save =
        buttons->addButton(QStringLiteral("Save As..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("saveAttachment"));
    open->setEnabled(!files_.empty());
    save->setEnabled(!files_.empty());
    connect(open, &QPushButton::clicked, this, [this] { openFile(chosenFile()); });
    connect(save, &QPushButton::clicked, this, [this] { saveFileAs(chosenFile()); });
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row) { openFile(row); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);
}

int AttachmentListDialog::chosenFile() const {
    return list_->currentRow() < 0 ? 0 : list_->currentRow();
}

bool AttachmentListDialog::hasBytes(int index) {
    if (index < 0 || index >= static_cast<int>(files_.size()))
        return false;
    if (files_[static_cast<std::size_t>(index)].bytes)
        return true;
    reportFailure(this, QStringLiteral("The file is damaged in the database and cannot be read."));
    return false;
}

void AttachmentListDialog::openFile(int index) {
    if (!hasBytes(index))
        return;
    const QTemporaryDir& folder = openedCopies();
    if (!folder.isValid()) {
        reportFailure(this,
                      QStringLiteral("No temporary folder could be made: ") + folder.errorString());
        return;
    }
    // Each opening gets its own subfolder, so that the same name can open again.
    static int openings = 0;
    const auto& file = files_[static_cast<std::size_t>(index)];
    const quarix::session::WrittenAttachment written = quarix::session::writeAttachment(
        folder.path(), QString::number(++openings), file.name, *file.bytes, true);
    if (!written.error.isEmpty()) {
        reportFailure(this, written.error);
        return;
    }
    if (!quarix::platform::Shell::open(written.path))
        reportFailure(this, QStringLiteral("No program opened ") + written.path);
}

void AttachmentListDialog::saveFileAs(int index) {
    if (!hasBytes(index))
        return;
    const auto& file = files_[static_cast<std::size_t>(index)];
    const QString proposed = QDir::home().filePath(quarix::session::safeAttachmentName(file.name));
    const auto chosen = quarix::platform::FileDialog::saveFileName(
        this, QStringLiteral("Save Attachment As"), QStringLiteral("All Files|*.*"), proposed);
    if (!chosen)
        return;
    const QFileInfo target(*chosen);
    const quarix::session::WrittenAttachment written = quarix::session::writeAttachment(
        target.absolutePath(), QString(), target.fileName().toStdString(), *file.bytes, false,
        true); // the dialog has asked before replacing a file
    if (!written.error.isEmpty())
        reportFailure(this, written.error);
}
