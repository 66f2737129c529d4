#pragma once

#include <QImage>
#include <QString>

namespace quarix::history {

// The AutoLoad dialog set to open databasePath at start with its
// Customers table and City field, drawn off screen for screenshots.
QImage renderAutoLoadDialogPreview(const QString& databasePath);

// The Saved Searches menu holding a few searches made on databasePath,
// drawn off screen for screenshots.
QImage renderSavedSearchesMenuPreview(const QString& databasePath);

} // namespace quarix::history
