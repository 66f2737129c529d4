#pragma once

#include <QString>

#include <optional>
#include <vector>

class QWidget;

namespace quarix::platform {

// The program's file choosers, answerable by tests.
class FileDialog {
public:
    struct Shown {
        QString title;
        QString filter;
        QString startPath;
    };

    // An existing file to open; nothing when the user cancels. The filter
    // reads "Description|*.a;*.b" as the settings and menus write it.
    static std::optional<QString> openFileName(QWidget* parent, const QString& title,
                                               const QString& filter, const QString& startPath);

    // A file to write, chosen in a Save As dialog that starts at startPath
    // (a folder and a proposed name) and asks before replacing a file;
    // nothing when the user cancels.
    static std::optional<QString> saveFileName(QWidget* parent, const QString& title,
                                               const QString& filter, const QString& startPath);

    // Test mode: no dialog; each call takes the next queued answer
    // (nothing queued, or a queued nullopt, means cancel).
    static void setTestMode(bool on);
    static void queueAnswer(std::optional<QString> answer);
    static const std::vector<Shown>& shown();

    // "Microsoft Access (*.mdb, *.accdb)|*.mdb;*.accdb" as a Qt name filter.
    static QString toQtFilter(const QString& filter);
};

} // namespace quarix::platform
