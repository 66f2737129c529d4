#pragma once

#include "engine/AttachmentFile.h"

#include <QDialog>

#include <vector>

class QTableWidget;

// The files of one attachment cell: name and size, with Open (a private
// copy opened by the desktop's default program) and Save As.
class AttachmentListDialog : public QDialog {
    Q_OBJECT
public:
    AttachmentListDialog(QWidget* parent, const QString& title,
                         std::vector<quarix::engine::AttachmentFile> files);

    void openFile(int index);
    void saveFileAs(int index);

private:
    int chosenFile() const;
    // A file without bytes (damaged) gets a message and false.
    bool hasBytes(int index);

    std::vector<quarix::engine::AttachmentFile> files_;
    QTableWidget* list_ = nullptr;
};
