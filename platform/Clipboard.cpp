#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

namespace quarix::platform {

namespace {
// Without a GUI application there is no clipboard; the text is then kept in
// the process so that copying and pasting still behave.
QString& fallback() {
    static QString text;
    return text;
}

QClipboard* systemClipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::clipboard()
               : nullptr;
}
} // namespace

void Clipboard::clear() {
    setText(QString());
}

void Clipboard::setText(const QString& text) {
    fallback() = text;
    if (QClipboard* board = systemClipboard()) {
        if (text.isEmpty())
            board->clear();
        else
            board->setText(text);
    }
}

QString Clipboard::text() {
    QClipboard* board = systemClipboard();
    return board ? board->text() : fallback();
}

void Clipboard::pasteInto(QLineEdit* box, const QString& text) {
    setText(text);
    if (box)
        box->insert(text);
}

} // namespace quarix::platform
