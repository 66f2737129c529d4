#pragma once

class QAbstractItemView;
class QComboBox;

// The box's drop-down list is as wide as its longest entry (the closed box
// may cut a long name short, the open list never does), kept so as entries
// come and go.
void showWholeEntries(QComboBox* box);

// The width a list needs to show its longest entry whole.
int wholeEntriesWidth(const QAbstractItemView* list);
