#include "settings/ColourValue.h"

qint32 colourValue(const QColor& colour) {
    return colour.blue() * 65536 + colour.green() * 256 + colour.red();
}

namespace {

// The Windows system colours a grid uses, as roles of the desktop palette.
QPalette::ColorRole systemRole(int index) {
    switch (index) {
    case 5:
        return QPalette::Base; // window background
    case 8:
        return QPalette::Text; // window text
    case 12:
        return QPalette::Window; // application workspace
    case 13:
        return QPalette::Highlight; // selection
    case 14:
        return QPalette::HighlightedText; // selected text
    case 15:
        return QPalette::Button; // button face
    case 18:
        return QPalette::ButtonText; // button text
    default:
        return QPalette::Window;
    }
}

} // namespace

QColor colourFromValue(qint32 value, const QPalette& palette) {
    if (value < 0)
        return palette.color(systemRole(value & 0xFF));
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
