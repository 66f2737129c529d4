#include "settings/SettingsStore.h"

#include "settings/SettingsText.h"

#include <cmath>

namespace {

const QString quarix = QStringLiteral("Quarix");
const QString grid = QStringLiteral("Grid");
const QString windows = QStringLiteral("Windows");
const QString autoLoad = QStringLiteral("AutoLoad");
const QString history = QStringLiteral("History");
const QString programs = QStringLiteral("Programs");
const QString savedSearches = QStringLiteral("SavedSearches");

// Long entries are kept in three keys ("", "B", "C"): 99 characters in
// each of the first two, the rest, however long, in the third. Entries of
// up to 297 characters read back whole with a reader that cuts values at
// 99 characters; the pieces are read whole, so that a third piece beyond
// that, and the 100-character pieces that files of other writers hold, come
// back whole too. The file's own encoding keeps every character and blank.
constexpr qsizetype pieceLength = IniFile::MaxValueLength;
const QStringList pieceSuffixes = {QString(), QStringLiteral("B"), QStringLiteral("C")};

struct ColourKey {
    GridColour colour;
    QString key;
};
const ColourKey colourKeys[] = {
    {GridColour::Background, QStringLiteral("GridBackColor")},
    {GridColour::Cell, QStringLiteral("GridCellColor")},
    {GridColour::Text, QStringLiteral("GridTextColor")},
};

struct EdgeKey {
    WindowEdge edge;
    QString key;
};
const EdgeKey edgeKeys[] = {
    {WindowEdge::Top, QStringLiteral("MainWindowTop")},
    {WindowEdge::Left, QStringLiteral("MainWindowLeft")},
    {WindowEdge::Width, QStringLiteral("MainWindowWidth")},
    {WindowEdge::Height, QStringLiteral("MainWindowHeight")},
};

// One load step's failure: the message, and the value left as it was.
void reportReadError(const SettingsWindowPort& port) {
    if (port.showError)
        port.showError(kReadDataMessage);
}

QString readLong(const IniFile& file, const QString& section, const QString& key) {
    QString value;
    for (const QString& suffix : pieceSuffixes)
        value += file.GetWholeIniValue(section, key + suffix);
    return value;
}

void writeLong(IniFile& file, const QString& section, const QString& key, const QString& value) {
    QStringList pieces =
        settings_text::splitLongValue(value, pieceLength, int(pieceSuffixes.size()) - 1);
    pieces << settings_text::midChars(value, pieceLength * pieces.size(), value.size());
    for (qsizetype i = 0; i < pieceSuffixes.size(); ++i)
        file.SetIniValue(section, key + pieceSuffixes[i], pieces[i]);
}

// "1"/"0" settings: missing gives 1, text that is not a number is an error.
void loadFlagNumber(const IniFile& file, const QString& key, int& target,
                    const SettingsWindowPort& port) {
    const QString text = file.GetIniValue(quarix, key);
    if (text.isEmpty()) {
        target = 1;
    } else if (const auto n = settings_text::wholeNumber(text)) {
        target = *n;
    } else {
        reportReadError(port);
    }
}

void loadQuarixSection(const IniFile& file, SettingsValues& v, const SettingsWindowPort& port) {
    auto read = [&](const char* key) { return file.GetIniValue(quarix, QLatin1String(key)); };

    v.Version = read("Version");
    loadFlagNumber(file, QStringLiteral("ShowTables"), v.ShowTables, port);
    loadFlagNumber(file, QStringLiteral("ShowQueries"), v.ShowQueries, port);
    v.HideFilter = settings_text::leadingWholeNumber(read("HideFilter"));

    const QString last10 = read("ShowLast10");
    if (last10.isEmpty())
        v.ShowLast10 = true;
    else if (const auto b = settings_text::boolean(last10))
        v.ShowLast10 = *b;
    else
        reportReadError(port);

    // These only ever switch on when loading, so a reload into the other
    // settings file carries them over.
    if (read("WriteLog") == QLatin1String("True"))
        v.WriteLog = true;
    if (read("SQLMode") == QLatin1String("True"))
        v.SQLMode = true;
    if (read("ListValues") == QLatin1String("False")) {
        if (port.uncheckValuePickList)
            port.uncheckValuePickList();
    } else {
        v.ListValues = true;
    }
    if (read("DebugSQL") == QLatin1String("True"))
        v.DebugSQL = true;

    v.ValueListMax = read("ValueListMax");
    if (v.ValueListMax.isEmpty())
        v.ValueListMax = QStringLiteral("50");
    const bool saveOff = read("SaveData") == QLatin1String("0");
    v.SaveData = !saveOff;
    v.SaveDataNumber = saveOff ? 0 : 1;
    v.MaxResults = read("MaxResults");
    if (v.MaxResults.isEmpty())
        v.MaxResults = QStringLiteral("50");
}

void loadGridSection(const IniFile& file, SettingsValues& v, const SettingsWindowPort& port) {
    v.AutoFitGrid = file.GetIniValue(grid, QStringLiteral("AutoFitGrid"));
    if (v.AutoFitGrid.isEmpty())
        v.AutoFitGrid = QStringLiteral("1");
    v.GridFontSize = file.GetIniValue(grid, QStringLiteral("GridFontSize"));
    if (v.GridFontSize.isEmpty())
        v.GridFontSize = QStringLiteral("8");
    for (const ColourKey& c : colourKeys) {
        const QString text = file.GetIniValue(grid, c.key);
        if (text.isEmpty())
            continue;
        if (const auto n = settings_text::wholeNumber(text)) {
            if (port.applyGridColour)
                port.applyGridColour(c.colour, *n);
        } else {
            reportReadError(port);
        }
    }
    const QString paging = file.GetIniValue(grid, QStringLiteral("GridPaging"));
    if (!paging.isEmpty()) {
        if (const auto b = settings_text::boolean(paging))
            v.GridPaging = *b;
        else
            reportReadError(port);
    }
}

void loadWindowsSection(const IniFile& file, SettingsValues& v, const SettingsWindowPort& port) {
    for (const EdgeKey& e : edgeKeys) {
        const QString text = file.GetIniValue(windows, e.key);
        if (text.isEmpty())
            continue;
        if (const auto n = settings_text::number(text)) {
            if (port.applyPlacement)
                port.applyPlacement(e.edge, *n);
        } else {
            reportReadError(port);
        }
    }
    v.WindowState = file.GetIniValue(windows, QStringLiteral("WindowState"));
    if (v.WindowState.isEmpty() && port.windowState)
        v.WindowState = QString::number(port.windowState());
    const double state = settings_text::leadingNumber(v.WindowState);
    if (state != 0.0 && state != 1.0 && state != 2.0)
        reportReadError(port);
    else if (port.applyWindowState)
        port.applyWindowState(int(state));
}

} // namespace

QString settingsVersionText() {
    return QStringLiteral(QUARIX_VERSION).replace(QLatin1Char('.'), QLatin1Char(':'));
}

void LoadSettings(const IniFile& file, SettingsValues& v, const SettingsWindowPort& port) {
    // The defaults stand in for a file that is there but was not read.
    if (!file.problem().isEmpty() && port.showError)
        port.showError(kReadDataMessage + QStringLiteral("\r\n") + file.problem());
    loadQuarixSection(file, v, port);
    loadGridSection(file, v, port);
    loadWindowsSection(file, v, port);

    v.UseDefault = file.GetIniValue(autoLoad, QStringLiteral("UseDefault"));
    v.AutoLoadDatabase = file.GetIniValue(autoLoad, QStringLiteral("Database"));
    v.AutoLoadTable = file.GetIniValue(autoLoad, QStringLiteral("Table"));
    v.AutoLoadField = file.GetIniValue(autoLoad, QStringLiteral("Field"));
    v.Recent1 = file.GetIniValue(history, QStringLiteral("Recent1"));
    v.Recent2 = file.GetIniValue(history, QStringLiteral("Recent2"));
    v.Recent3 = file.GetIniValue(history, QStringLiteral("Recent3"));

    for (std::size_t n = 0; n < v.Programs.size(); ++n)
        v.Programs[n] = readLong(file, programs, QStringLiteral("Other%1").arg(n + 1));
    for (std::size_t n = 0; n < v.SavedSearches.size(); ++n)
        v.SavedSearches[n] = readLong(file, savedSearches, QStringLiteral("Search%1").arg(n + 1));
    if (port.sortSavedSearches)
        port.sortSavedSearches();
}

bool SaveSettings(IniFile& file, SettingsValues& v, const SettingsWindowPort& port) {
    if (!v.SaveData)
        return true;
    auto set = [&](const QString& section, const char* key, const QString& value) {
        file.SetIniValue(section, QLatin1String(key), value);
    };
    using settings_text::booleanText;

    v.Version = settingsVersionText();
    set(quarix, "Version", v.Version);
    set(quarix, "ShowTables", QString::number(v.ShowTables));
    set(quarix, "ShowQueries", QString::number(v.ShowQueries));
    set(quarix, "HideFilter", QString::number(v.HideFilter));
    set(quarix, "ShowLast10", booleanText(v.ShowLast10));
    set(quarix, "WriteLog", booleanText(v.WriteLog));
    set(quarix, "SQLMode", booleanText(v.SQLMode));
    set(quarix, "ListValues", booleanText(v.ListValues));
    set(quarix, "DebugSQL", booleanText(v.DebugSQL));
    set(quarix, "ValueListMax", v.ValueListMax);
    set(quarix, "SaveData", QString::number(v.SaveDataNumber));
    set(quarix, "MaxResults", v.MaxResults);
    set(grid, "AutoFitGrid", v.AutoFitGrid);
    set(grid, "GridFontSize", v.GridFontSize);
    if (port.gridColour) {
        for (const ColourKey& c : colourKeys)
            file.SetIniValue(grid, c.key, QString::number(port.gridColour(c.colour)));
    }
    set(grid, "GridPaging", booleanText(v.GridPaging));

    // A maximised or minimised window keeps the last normal placement.
    if (port.windowState && port.placement && port.windowState() == 0) {
        for (const EdgeKey& e : edgeKeys) {
            const double value = port.placement(e.edge);
            if (value > 0)
                file.SetIniValue(windows, e.key, QString::number(std::round(value), 'f', 0));
        }
    }
    set(windows, "WindowState", v.WindowState);

    set(autoLoad, "UseDefault", v.UseDefault);
    set(autoLoad, "Database", v.AutoLoadDatabase);
    set(autoLoad, "Table", v.AutoLoadTable);
    set(autoLoad, "Field", v.AutoLoadField);
    set(history, "Recent1", v.Recent1);
    set(history, "Recent2", v.Recent2);
    set(history, "Recent3", v.Recent3);

    // Entries go through one "|"-joined text, so an entry holding "|" spills
    // into the slots after it: program entries must not contain "|".
    QStringList entries;
    for (const QString& entry : v.Programs)
        entries << entry;
    const QStringList pieces = entries.join(QLatin1Char('|')).split(QLatin1Char('|'));
    for (std::size_t n = 0; n < v.Programs.size(); ++n)
        writeLong(file, programs, QStringLiteral("Other%1").arg(n + 1),
                  qsizetype(n) < pieces.size() ? pieces[qsizetype(n)] : QString());
    for (std::size_t n = 0; n < v.SavedSearches.size(); ++n)
        writeLong(file, savedSearches, QStringLiteral("Search%1").arg(n + 1), v.SavedSearches[n]);

    return file.save();
}
