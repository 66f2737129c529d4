#include "history/MenuBinding.h"

#include <QAction>
#include <QMenu>

namespace quarix::history {

namespace {

QString menuText(const QString& caption) {
    QString text = caption;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Entries longer than this show their start and end; the tooltip has them whole.
constexpr qsizetype kShownEntryLength = 120;

QString shortened(const QString& entry) {
    if (entry.size() <= kShownEntryLength)
        return entry;
    const qsizetype half = (kShownEntryLength - 1) / 2;
    return entry.left(half) + QChar(0x2026) + entry.right(half);
}

} // namespace

void showMenuItem(const MenuItem& item, QAction* action) {
    if (!action)
        return;
    if (!action->isSeparator())
        action->setText(menuText(item.caption));
    action->setVisible(item.visible);
    action->setEnabled(item.enabled);
    if (action->isCheckable())
        action->setChecked(item.checked);
}

void applyRecentFilesMenu(const RecentFilesMenu& menu, QAction* separator,
                          const std::array<QAction*, 3>& items) {
    if (separator)
        separator->setVisible(menu.separatorVisible);
    for (std::size_t i = 0; i < items.size(); ++i) {
        showMenuItem(menu.items[i], items[i]);
        // Alt+F, then 1, 2 or 3 opens a recent database.
        if (items[i])
            items[i]->setText(QStringLiteral("&%1 ").arg(i + 1) + menuText(menu.items[i].caption));
    }
}

void applyLastSearchesMenu(const LastSearchesMenu& menu, QMenu* submenu,
                           const std::array<QAction*, 10>& items) {
    if (submenu)
        submenu->menuAction()->setVisible(menu.visible);
    for (std::size_t i = 0; i < items.size(); ++i)
        showMenuItem(menu.items[i], items[i]);
}

void applySavedSearchesMenu(const SavedSearchesMenu& menu, const std::array<QAction*, 24>& items) {
    for (int i = 0; i < int(items.size()); ++i) {
        QAction* action = items[std::size_t(i)];
        if (!action)
            continue;
        const MenuItem& item = menu.item(i);
        if (i == SavedSearchesMenu::kSave || i == SavedSearchesMenu::kDeleteMode) {
            action->setVisible(item.visible);
            action->setCheckable(i == SavedSearchesMenu::kDeleteMode);
            action->setChecked(item.checked);
            continue;
        }
        showMenuItem(item, action);
        if (!action->isSeparator()) {
            action->setText(menuText(shortened(item.caption)));
            action->setToolTip(item.caption);
        }
    }
}

} // namespace quarix::history
