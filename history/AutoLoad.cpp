#include "history/AutoLoad.h"

#include "search/StatusCaption.h"

namespace quarix::history {

bool autoLoadIsOn(const SettingsValues& settings) {
    return settings.UseDefault == QStringLiteral("1");
}

std::optional<QString> firstDatabase(const QString& cmdLineDatabase,
                                     const SettingsValues& settings) {
    if (!cmdLineDatabase.isEmpty())
        return cmdLineDatabase;
    if (autoLoadIsOn(settings) && settings.AutoLoadDatabase.size() > 1)
        return settings.AutoLoadDatabase;
    return std::nullopt;
}

session::Task<> openDefaultDatabase(QString path, SearchWindowPort window, bool resetGrid) {
    *window.currentDatabasePath = path;
    window.updateTableQuery();
    window.setCaption(search::databaseCaption(path));
    const bool opened = co_await window.loadTables(path);
    if (!opened)
        co_return;
    if (resetGrid)
        window.resetGrid();
    co_await window.loadFields();
}

} // namespace quarix::history
