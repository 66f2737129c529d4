#pragma once

#include "settings/SettingsEnvironment.h"

#include <QString>

// Where this run keeps its settings, and the locks the command line and the
// multi-user marker file put on the Preferences dialog. Rebuilt each time
// the main window loads.
struct SettingsLocation {
    bool TermServMode = false; // the multi-user marker file exists
    QString TSParameters;      // its first line: switches for every start
    bool TSLocked = false;     // the marker was read: multi-user controls locked
    bool TablesLocked = false;
    bool QueriesLocked = false;
    QString SettingsFolder; // ends in "/"

    QString settingsFilePath() const;
};

// The marker file whose presence switches multi-user mode on.
QString markerFilePath(const SettingsEnvironment& env);

// Reads the marker file and chooses the folder: the user's own in
// multi-user mode, else the one shared by all users. Never fails: an
// unreadable marker still turns the mode on, with no parameters.
SettingsLocation chooseSettingsLocation(const SettingsEnvironment& env);

// Creates (or replaces) the marker file holding one line. False, with a
// description in *error, when it cannot be written.
bool writeMarkerFile(const SettingsEnvironment& env, const QString& parameters, QString* error);

// Deletes the marker file; true when it is gone afterwards.
bool deleteMarkerFile(const SettingsEnvironment& env, QString* error);
