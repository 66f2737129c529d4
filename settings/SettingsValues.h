#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The preferences of a Quarix session, held in memory under the names of
// their settings-file keys. Before the first load every flag is false,
// every number 0 and every text empty; the loader fills in the defaults.
struct SettingsValues {
    // [Quarix]
    QString Version;
    int ShowTables = 0;
    int ShowQueries = 0;
    int HideFilter = 0;
    bool ShowLast10 = false;
    bool WriteLog = false;
    bool SQLMode = false;
    bool ListValues = false;
    bool DebugSQL = false;
    QString ValueListMax;
    bool SaveData = false;  // save-on-exit flag: settings are written at all
    int SaveDataNumber = 0; // the "1"/"0" written to the file
    QString MaxResults;
    // [Grid]
    QString AutoFitGrid;
    QString GridFontSize;
    bool GridPaging = false;
    // [Windows]
    QString WindowState; // "0" normal, "1" minimised, "2" maximised
    // [AutoLoad]
    QString UseDefault;
    QString AutoLoadDatabase;
    QString AutoLoadTable;
    QString AutoLoadField;
    // [History]
    QString Recent1;
    QString Recent2;
    QString Recent3;
    // [Programs]: "name,path" per slot, empty when free
    std::array<QString, 10> Programs;
    // [SavedSearches]: the captions of the 20 slots, empty when free
    std::array<QString, 20> SavedSearches;

    // The whole part of MaxResults as the paging uses it (0 when not a number).
    int maxResultsWhole() const;
    // The whole part of ValueListMax (0 when not a number).
    int valueListMaxWhole() const;
    // AutoFitGrid and GridFontSize as numbers.
    int autoFitGridNumber() const;
    double gridFontSizeNumber() const;
};
