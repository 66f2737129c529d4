#pragma once

#include <QString>

namespace quarix::tools {

// Renders the tools' windows to PNG files for the documentation: the object
// viewer on a database, the Programs dialog with two entries and the About
// box. Returns false when a file could not be written.
bool saveObjectViewerScreenshot(const QString& databasePath, const QString& pngPath);
bool saveProgramsScreenshot(const QString& pngPath);
bool saveAboutScreenshot(const QString& pngPath);

} // namespace quarix::tools
