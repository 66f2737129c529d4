#pragma once

#include <QHash>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QSet>

class QAbstractItemView;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QMouseEvent;

// What the user types into a criteria box is what is searched. The boxes
// may suggest matching entries in a pop-up, but only a suggestion the user
// picks (mouse, or arrow keys and Tab or Enter) replaces the typed text.

// Suggestions of the box's own entries that contain the typed text, in a
// pop-up (a child QCompleter named "suggestions"); the text itself is never
// completed.
void offerSuggestions(QComboBox* box);

// Puts a suggestion into the box as a pick from its list does.
void takeSuggestion(QComboBox* box, const QString& picked);

// Keys typed into a text box belong to its text: the editing keys (select
// all, undo, copy, ...) edit it even where a menu item has the same
// shortcut, and Enter in a criteria box asks for the search instead of
// letting the box swap the text for an entry of the same spelling. With
// suggestions open, Tab and Enter take the highlighted one and move on to
// the next box, and a click on a button outside them is not lost.
class TypedTextKeys : public QObject {
    Q_OBJECT
public:
    explicit TypedTextKeys(QObject* parent = nullptr) : QObject(parent) {}

    // Editing keys win in this widget (a line edit or an editable combo box).
    void watchEditing(QObject* textBox);
    // ...and Enter there asks for the search.
    void watchCriteria(QComboBox* box);
    void watchSearchText(QLineEdit* box);
    // Keys of the window's menus that reach them from the text boxes too,
    // where the line edit would take them as its own alternative bindings
    // (Ctrl+D deletes a character, Ctrl+E goes to the end of the line).
    void leaveToWindow(const QList<QKeySequence>& keys);

    // Whether the key is one of the text editing keys.
    static bool isEditingKey(const QKeyEvent& key);

signals:
    void searchRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isWindowKey(const QKeyEvent& key) const;
    bool suggestionsKey(QAbstractItemView* list, QComboBox* box, const QKeyEvent& key);
    bool suggestionsClick(QAbstractItemView* list, const QMouseEvent& click);

    QSet<QObject*> searchBoxes_;
    QHash<QObject*, QComboBox*> suggestionLists_;
    QList<QKeySequence> windowKeys_;
};
