#pragma once

#include <QColor>
#include <QPalette>

// Grid colours as the settings file stores them: blue*65536 + green*256 +
// red for an explicit colour, or a negative reference to a system colour
// (0x80000000 + the Windows colour index), which follows the desktop theme.
inline constexpr qint32 kSystemWindowBackground = -2147483643; // window background
inline constexpr qint32 kSystemWindowText = -2147483640;       // window text
inline constexpr qint32 kSystemAppWorkspace = -2147483636;     // behind a grid's cells

qint32 colourValue(const QColor& colour);

// The colour a value stands for; system references resolve in palette.
QColor colourFromValue(qint32 value, const QPalette& palette);
