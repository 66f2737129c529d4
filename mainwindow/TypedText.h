#pragma once

#include <QObject>
#include <QSet>

class QComboBox;
class QKeyEvent;

// What the user types into a criteria box is what is searched. The boxes
// may suggest matching entries in a pop-up, but only a suggestion the user
// picks (mouse, or arrow keys and Enter) replaces the typed text.

// Suggestions of the box's own entries that contain the typed text, in a
// pop-up (a child QCompleter named "suggestions"); the text itself is never
// completed.
void offerSuggestions(QComboBox* box);

// Keys typed into a text box belong to its text: the editing keys (select
// all, undo, copy, ...) edit it even where a menu item has the same
// shortcut, and Enter in a criteria box asks for the search instead of
// letting the box swap the text for an entry of the same spelling.
class TypedTextKeys : public QObject {
    Q_OBJECT
public:
    explicit TypedTextKeys(QObject* parent = nullptr) : QObject(parent) {}

    // Editing keys win in this widget (a line edit or an editable combo box).
    void watchEditing(QObject* textBox);
    // ...and Enter there asks for the search.
    void watchCriteria(QComboBox* box);

    // Whether the key is one of the text editing keys.
    static bool isEditingKey(const QKeyEvent& key);

signals:
    void searchRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSet<QObject*> criteriaBoxes_;
};
