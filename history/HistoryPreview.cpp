#include "history/HistoryPreview.h"

#include "history/MenuBinding.h"
#include "history/SavedSearches.h"
#include "history/frmAutoLoad.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>

namespace quarix::history {

namespace {

SettingsValues previewSettings(const QString& databasePath) {
    SettingsValues settings;
    settings.ShowTables = 1;
    settings.ShowQueries = 1;
    settings.UseDefault = QStringLiteral("1");
    settings.AutoLoadDatabase = databasePath;
    settings.AutoLoadTable = QStringLiteral("Customers");
    settings.AutoLoadField = QStringLiteral("City");
    return settings;
}

} // namespace

QImage renderAutoLoadDialogPreview(const QString& databasePath) {
    SettingsValues settings = previewSettings(databasePath);
    QString currentDatabase = databasePath;
    search::SearchState state;
    AutoLoadPort port;
    port.window.settings = &settings;
    port.window.currentDatabasePath = &currentDatabase;
    port.window.searchState = &state;

    frmAutoLoad dialog(port);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    // The lists as they are after entering both boxes.
    dialog.Load_cmbTable(databasePath);
    auto* table = dialog.findChild<QComboBox*>(QStringLiteral("cmbTable"));
    table->setCurrentText(settings.AutoLoadTable);
    dialog.Load_cmbField(databasePath);
    dialog.findChild<QComboBox*>(QStringLiteral("CmbField"))
        ->setCurrentText(settings.AutoLoadField);
    dialog.adjustSize();
    return dialog.grab().toImage();
}

QImage renderSavedSearchesMenuPreview(const QString& databasePath) {
    SettingsValues settings = previewSettings(databasePath);
    SavedSearchesMenu model;
    const SavedSearchParts searches[] = {
        {QStringLiteral("Table"), databasePath, QStringLiteral("Customers"), QStringLiteral("City"),
         QStringLiteral("[City] Like '*lon*'")},
        {QStringLiteral("Table"), databasePath, QStringLiteral("Orders"), QStringLiteral("Status"),
         QStringLiteral("[Status] = 'Open'")},
        {QStringLiteral("Query"), databasePath, QStringLiteral("Big Spenders"),
         QStringLiteral("Total"), QStringLiteral("[Total] > 5000")},
    };
    for (const SavedSearchParts& search : searches)
        saveSearch(model, settings, savedSearchEntry(search));

    QMenu menu(QStringLiteral("S&aved Searches"));
    std::array<QAction*, 24> items{};
    for (int i = 0; i < int(items.size()); ++i) {
        const bool separator =
            i == SavedSearchesMenu::kTopSeparator || i == SavedSearchesMenu::kBottomSeparator;
        items[std::size_t(i)] = separator ? menu.addSeparator() : menu.addAction(QString());
    }
    items[SavedSearchesMenu::kSave]->setText(model.item(SavedSearchesMenu::kSave).caption);
    items[SavedSearchesMenu::kSave]->setShortcut(QKeySequence(QStringLiteral("Ctrl+S")));
    items[SavedSearchesMenu::kDeleteMode]->setText(
        model.item(SavedSearchesMenu::kDeleteMode).caption);
    applySavedSearchesMenu(model, items);
    menu.adjustSize();
    return menu.grab().toImage();
}

} // namespace quarix::history
