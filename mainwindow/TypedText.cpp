#include "mainwindow/TypedText.h"

#include "mainwindow/WholeEntries.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <optional>

#include <algorithm>

namespace {

QCompleter* suggestionsOf(const QComboBox* box) {
    return box->findChild<QCompleter*>(QStringLiteral("suggestions"));
}

// The suggestion Tab or Enter takes: the highlighted one; without one the
// typed text stands.
QString chosenSuggestion(const QAbstractItemView* list) {
    return list->currentIndex().isValid() ? list->currentIndex().data().toString() : QString();
}

bool isEnter(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// Whether the key is Tab (forward) or Shift+Tab (backward), no other modifier.
std::optional<bool> tabForward(const QKeyEvent& key) {
    const auto others = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (others != Qt::NoModifier)
        return std::nullopt;
    if (key.key() == Qt::Key_Backtab ||
        (key.key() == Qt::Key_Tab && (key.modifiers() & Qt::ShiftModifier)))
        return false;
    if (key.key() == Qt::Key_Tab)
        return true;
    return std::nullopt;
}

// On to the next control in the tab order, or the previous one. The
// window's own notion of its focus widget is not asked: closing the
// suggestions, which had the window's activation, can leave it behind.
void moveOn(QWidget* from, bool forward) {
    for (QWidget* w = forward ? from->nextInFocusChain() : from->previousInFocusChain();
         w && w != from; w = forward ? w->nextInFocusChain() : w->previousInFocusChain()) {
        if (w->window() == from->window() && !w->focusProxy() && !from->isAncestorOf(w) &&
            w->isVisibleTo(from->window()) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    }
}

} // namespace

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
                     [box](const QString& picked) { takeSuggestion(box, picked); });
}

void takeSuggestion(QComboBox* box, const QString& picked) {
    const int entry = box->findText(picked, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry >= 0)
        box->setCurrentIndex(entry);
    box->setEditText(picked);
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

bool TypedTextKeys::isWindowKey(const QKeyEvent& key) const {
    const QKeySequence pressed(key.keyCombination());
    return std::any_of(windowKeys_.begin(), windowKeys_.end(),
                       [&](const QKeySequence& k) { return k == pressed; });
}

void TypedTextKeys::watchEditing(QObject* textBox) {
    textBox->installEventFilter(this);
}

void TypedTextKeys::watchCriteria(QComboBox* box) {
    watchEditing(box);
    searchBoxes_.insert(box);
    if (QCompleter* suggestions = suggestionsOf(box)) {
        suggestions->popup()->installEventFilter(this);
        suggestionLists_.insert(suggestions->popup(), box);
    }
}

void TypedTextKeys::watchSearchText(QLineEdit* box) {
    watchEditing(box);
    searchBoxes_.insert(box);
}

void TypedTextKeys::leaveToWindow(const QList<QKeySequence>& keys) {
    windowKeys_ = keys;
}

bool TypedTextKeys::suggestionsKey(QAbstractItemView* list, QComboBox* box, const QKeyEvent& key) {
    const std::optional<bool> tab = tabForward(key);
    if (!tab && !isEnter(key))
        return false;
    const QString picked = chosenSuggestion(list);
    list->hide();
    if (picked.isEmpty() && isEnter(key)) {
        emit searchRequested(); // nothing picked: the typed text is searched
        return true;
    }
    if (!picked.isEmpty())
        takeSuggestion(box, picked);
    moveOn(box, tab.value_or(true));
    return true;
}

bool TypedTextKeys::suggestionsClick(QAbstractItemView* list, const QMouseEvent& click) {
    if (list->rect().contains(click.position().toPoint()))
        return false;
    // A click beside the open suggestions closes them and still does what it
    // was for: a button is pressed, a box takes the focus.
    const QPoint at = click.globalPosition().toPoint();
    list->hide();
    QWidget* target = QApplication::widgetAt(at);
    if (auto* button = qobject_cast<QAbstractButton*>(target)) {
        button->click();
        return true;
    }
    for (QWidget* w = target; w; w = w->parentWidget())
        if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)) {
            w->setFocus(Qt::MouseFocusReason);
            return true;
        }
    return true;
}

bool TypedTextKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (isWindowKey(key)) {
            event->ignore(); // not the box's: the menu item takes it
            return true;
        }
        if (isEditingKey(key)) {
            event->accept();
            return true;
        }
    }
    if (auto* list = qobject_cast<QAbstractItemView*>(watched); list && list->isVisible()) {
        QComboBox* box = suggestionLists_.value(watched);
        if (event->type() == QEvent::KeyPress && box)
            return suggestionsKey(list, box, *static_cast<QKeyEvent*>(event));
        if (event->type() == QEvent::MouseButtonPress)
            return suggestionsClick(list, *static_cast<QMouseEvent*>(event));
        return QObject::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress || !searchBoxes_.contains(watched))
        return QObject::eventFilter(watched, event);
    const auto& key = *static_cast<QKeyEvent*>(event);
    if (const std::optional<bool> tab = tabForward(key)) {
        moveOn(static_cast<QWidget*>(watched), *tab);
        return true;
    }
    if (!isEnter(key))
        return QObject::eventFilter(watched, event);
    emit searchRequested();
    return true;
}
