#pragma once

#include <QString>

class QLineEdit;

namespace quarix::platform {

// The system clipboard as the program uses it: plain text only.
class Clipboard {
public:
    static void clear();
    static void setText(const QString& text);
    static QString text();
    // Puts the text on the clipboard and pastes it into the box at its
    // cursor (over any selection), as a user's paste would.
    static void pasteInto(QLineEdit* box, const QString& text);
};

} // namespace quarix::platform
