#pragma once

#include "settings/IniFile.h"
#include "settings/SettingsValues.h"

#include <QString>

#include <functional>

enum class GridColour { Background, Cell, Text };
enum class WindowEdge { Top, Left, Width, Height };

// What loading and saving the settings touch in the main window. Every
// member may be left empty; the step that needs it is then skipped.
struct SettingsWindowPort {
    // Grid colours as settings numbers (see ColourValue.h).
    std::function<void(GridColour, qint32)> applyGridColour;
    std::function<qint32(GridColour)> gridColour;
    // The window's placement in twips.
    std::function<void(WindowEdge, double)> applyPlacement;
    std::function<double(WindowEdge)> placement;
    // 0 normal, 1 minimised, 2 maximised.
    std::function<int()> windowState;
    std::function<void(int)> applyWindowState;
    // The value pick list menu item loses its check mark.
    std::function<void()> uncheckValuePickList;
    // Sorts the saved-search menu after loading.
    std::function<void()> sortSavedSearches;
    // Shows an error: exclamation icon, OK button, title kSettingsErrorTitle.
    std::function<void(const QString&)> showError;
};

inline const QString kSettingsErrorTitle = QStringLiteral("Quarix - Error");
inline const QString kReadDataMessage =
    QStringLiteral("READ DATA: An Error has occured loading your settings");

// The program version as the settings file records it, "8:0:120".
QString settingsVersionText();

// Reads every setting from the file into values, applying defaults for
// missing keys and what belongs to the window through the port. A value
// that does not convert shows kReadDataMessage, keeps its previous content
// and loading goes on; so does a file that is there but was not read, with
// the reason on a second line.
void LoadSettings(const IniFile& file, SettingsValues& values, const SettingsWindowPort& port);

// Writes every setting into the file and saves it, unless saving is
// switched off. False only when the file could not be written; the caller
// stays silent about that, as saving runs at every activation.
bool SaveSettings(IniFile& file, SettingsValues& values, const SettingsWindowPort& port);
