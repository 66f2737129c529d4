#pragma once

#include "history/LastSearches.h"
#include "history/MenuItem.h"
#include "history/RecentFiles.h"
#include "history/SavedSearches.h"

#include <array>

class QAction;
class QMenu;

namespace quarix::history {

// Copies the history menus onto the window's menu actions. Captions are
// shown as they are: an "&" in a path or criterion is not a mnemonic.

void showMenuItem(const MenuItem& item, QAction* action);

void applyRecentFilesMenu(const RecentFilesMenu& menu, QAction* separator,
                          const std::array<QAction*, 3>& items);

void applyLastSearchesMenu(const LastSearchesMenu& menu, QMenu* submenu,
                           const std::array<QAction*, 10>& items);

// Items 0 (save) and 23 (delete mode) keep their enabled state, which the
// K switch owns; everything else follows the menu.
void applySavedSearchesMenu(const SavedSearchesMenu& menu, const std::array<QAction*, 24>& items);

} // namespace quarix::history
