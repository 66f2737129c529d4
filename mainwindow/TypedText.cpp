#include "mainwindow/TypedText.h"

#include "mainwindow/WholeEntries.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

void offerSuggestions(QComboBox* box) {
    // The box's own completer completes inline, and with it the box swaps a
    // typed "berlin" for its entry "Berlin" whenever editing ends; a
    // completer of its own leaves the box matching entries exactly.
    box->setCompleter(nullptr);
    auto* completer = new QCompleter(box->model(), box);
    completer->setObjectName(QStringLiteral("suggestions"));
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setFilterMode(Qt::MatchContains);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setWidget(box);
    QObject::connect(
        box->lineEdit(), &QLineEdit::textEdited, completer, [box, completer](const QString& text) {
            QAbstractItemView* list = completer->popup();
            if (text.isEmpty()) {
                list->hide();
                return;
            }
            completer->setCompletionPrefix(text);
            // Nothing to suggest beyond what is typed already.
            if (completer->completionCount() == 0 ||
                (completer->completionCount() == 1 && completer->currentCompletion() == text)) {
                list->hide();
                return;
            }
            // Wide enough for whole names, never narrower than the box.
            QRect under = box->rect();
            under.setWidth(std::max(under.width(), wholeEntriesWidth(list)));
            completer->complete(under);
        });
    QObject::connect(completer, qOverload<const QString&>(&QCompleter::activated), box,
                     [box](const QString& picked) {
                         const int entry =
                             box->findText(picked, Qt::MatchExactly | Qt::MatchCaseSensitive);
                         if (entry >= 0)
                             box->setCurrentIndex(entry);
                         box->setEditText(picked);
                     });
}

bool TypedTextKeys::isEditingKey(const QKeyEvent& key) {
    for (const QKeySequence::StandardKey editing :
         {QKeySequence::SelectAll, QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Copy,
          QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Delete,
          QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
          QKeySequence::MoveToStartOfLine, QKeySequence::MoveToEndOfLine})
        if (key.matches(editing))
            return true;
    return false;
}

void TypedTextKeys::watchEditing(QObject* textBox) {
    textBox->installEventFilter(this);
}

void TypedTextKeys::watchCriteria(QComboBox* box) {
    watchEditing(box);
    criteriaBoxes_.insert(box);
    if (auto* suggestions = box->findChild<QCompleter*>(QStringLiteral("suggestions")))
        suggestions->popup()->installEventFilter(this);
}

bool TypedTextKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride &&
        isEditingKey(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                       (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!enter)
        return QObject::eventFilter(watched, event);
    if (auto* suggestions = qobject_cast<QAbstractItemView*>(watched)) {
        // Enter on a highlighted suggestion takes it; otherwise the typed
        // text stands (the box would swap it for an entry spelt alike).
        if (suggestions->currentIndex().isValid())
            return QObject::eventFilter(watched, event);
        suggestions->hide();
        emit searchRequested();
        return true;
    }
    if (!criteriaBoxes_.contains(watched))
        return QObject::eventFilter(watched, event);
    emit searchRequested();
    return true;
}
