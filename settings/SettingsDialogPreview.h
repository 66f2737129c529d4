#pragma once

#include <QImage>

// The Preferences dialog as a first start shows it (every setting at its
// default, machine-wide settings), drawn off screen for screenshots.
QImage renderSettingsDialogPreview();
