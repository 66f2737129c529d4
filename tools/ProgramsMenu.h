#pragma once

#include "tools/Launcher.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QAction;
class QMenu;
class QWidget;

namespace quarix::tools {

// One user program: "name,path". Taken apart at the first comma: the name
// is the text before it, the path all the text after it (a folder's name
// may hold a comma; a program's name may not).
struct ProgramEntry {
    QString name;
    QString path;
    bool hasComma = false;
};
ProgramEntry splitEntry(const QString& entry);

// The shortcut of each of the ten slots: F2 to F12 without F10.
const QStringList& programShortcuts();

// The "Programs" menu as data: the ten user items and the first separator.
struct ProgramsMenuModel {
    struct Item {
        QString caption;
        bool visible = false;
        QString shortcut;
    };
    std::array<Item, 10> mnuoth;
    bool mnulineOP1Visible = false;
};
ProgramsMenuModel LoadProgramsMenu(const std::array<QString, 10>& programs);

// The Office and accessory items and the Linux programs that stand in for
// them: LibreOffice Base, Writer and Calc; the desktop's calculator, text
// editor and file manager, the first found on the PATH.
enum class Accessory { Access, Word, Excel, Calculator, TextEditor, FileManager };
std::optional<Launcher::Command> resolveAccessory(Accessory accessory);

// Starts the accessory detached; "This program is not installed!" and the
// item disabled when it is missing or will not start.
void launchAccessory(QWidget* parent, Accessory accessory, QAction* item);

// Starts a user program: a database file goes to Send_To_Access, an
// executable is started detached, any other file opens with the desktop's
// application. "Cannot launch this program: check file and path exist!"
// when the entry has no comma or the database cannot be handed over.
void launchProgramEntry(QWidget* parent, const QString& entry);

// Applies the model to the menu's items (found by object name: mnuoth0 ..
// mnuoth9, mnulineOP1).
void applyProgramsMenu(QMenu* mnuTools, const std::array<QString, 10>& programs);

// Connects the user items (reading the entries at click time), the Office
// items mnuofficeapp0..2 and mnucalc, mnunotepad, mnuexplorer.
void connectProgramsMenu(QMenu* mnuTools, QWidget* parent, const std::array<QString, 10>* programs);

} // namespace quarix::tools
