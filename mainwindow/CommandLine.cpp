#include "mainwindow/CommandLine.h"

#include <QFileInfo>
#include <QUrl>

namespace {

bool endsInDatabaseSuffix(const QString& upper) {
    return upper.endsWith(QLatin1String("MDB")) || upper.endsWith(QLatin1String("ACCDB"));
}

bool enclosedInDoubleQuotes(const QString& text) {
    return text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'));
}

// The path an argument names when it is a database path taken whole, else
// "": it names an existing file or ends in .mdb or .accdb, as given or
// inside double quotes.
QString wholePath(const QString& argument, const CommandLineInput& input) {
    // File managers pass a file as an address: file:///home/a%20b/db.mdb.
    if (argument.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl address(argument);
        if (address.isLocalFile())
            return address.toLocalFile();
    }
    const QString candidates[] = {argument, enclosedInDoubleQuotes(argument)
                                                ? argument.mid(1, argument.size() - 2)
                                                : QString()};
    for (const QString& path : candidates) {
        if (path.isEmpty())
            continue;
        const QString lower = path.toLower();
        if (lower.endsWith(QLatin1String(".mdb")) || lower.endsWith(QLatin1String(".accdb")) ||
            (input.fileExists && input.fileExists(path)))
            return path;
    }
    return QString();
}

bool isSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\t');
}

QString withoutTrailingSpaces(QString text) {
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

// The database path inside enclosing characters (typically the quotes a
// shell puts around a path with spaces), or "" when there is none.
QString enclosedDatabase(const QString& argument) {
    const qsizetype n = argument.size();
    if (n < 3)
        return QString();
    const QString inner = argument.trimmed().left(n - 1).right(n - 2).trimmed();
    return endsInDatabaseSuffix(withoutTrailingSpaces(inner).toUpper()) ? inner : QString();
}

using Action = MenuEffect::Action;

void lockDown(SettingsValues& values, CommandLineEffects& effects) {
    for (const char* item : {"mnuoptions", "mnuQuarixHelp", "mnuOfficelinks", "mnulineH1",
                             "mnuupdates", "mnuline5", "mnuline3", "mnuSQLmode", "mnuline7"})
        effects.menus.append({QLatin1String(item), -1, Action::Hide});
    effects.menus.append({QStringLiteral("mnusavedsearch"), 0, Action::Disable});
    effects.menus.append({QStringLiteral("mnusavedsearch"), 23, Action::Disable});
    for (const char* item :
         {"mnuTools", "mnuoptions", "mnuExcel", "mnuObject", "mnuAccess", "mnuCompact"})
        effects.menus.append({QLatin1String(item), -1, Action::Disable});
    values.WindowState = QStringLiteral("2");
    effects.RecentShown = false;
}

const QStringList kSwitches = {QStringLiteral("K"),  QStringLiteral("F"),  QStringLiteral("L"),
                               QStringLiteral("O"),  QStringLiteral("X"),  QStringLiteral("TS"),
                               QStringLiteral("T-"), QStringLiteral("Q-"), QStringLiteral("WM")};

bool applySwitch(const QString& key, SettingsValues& values, SettingsLocation& location,
                 bool markerExists, CommandLineEffects& effects) {
    if (key == QLatin1String("K")) {
        lockDown(values, effects);
    } else if (key == QLatin1String("F")) {
        values.HideFilter = 1;
    } else if (key == QLatin1String("L")) {
        effects.menus.append({QStringLiteral("mnulast10"), -1, Action::Hide});
        values.ShowLast10 = false;
    } else if (key == QLatin1String("O")) {
        effects.menus.append({QStringLiteral("mnuoptions"), -1, Action::Hide});
    } else if (key == QLatin1String("X")) {
        effects.menus.append({QStringLiteral("mnuoptions"), -1, Action::Show});
        location.TSLocked = false;
        location.QueriesLocked = false;
        location.TablesLocked = false;
    } else if (key == QLatin1String("TS")) {
        effects.enterMultiUserMode = !markerExists;
    } else if (key == QLatin1String("T-")) {
        values.ShowTables = 0;
        location.TablesLocked = true;
    } else if (key == QLatin1String("Q-")) {
        values.ShowQueries = 0;
        location.QueriesLocked = true;
    } else if (key == QLatin1String("WM")) {
        values.WindowState = QStringLiteral("2");
    } else {
        return false;
    }
    return true;
}

} // namespace

bool isExistingFile(const QString& path) {
    return QFileInfo(path).isFile();
}

QList<CommandLineArgument> splitCommandLine(const CommandLineInput& input) {
    // The text runs: the multi-user parameters run straight into the first
    // argument, arguments are joined by a blank, and a whole path stands
    // on its own.
    QList<CommandLineArgument> runs{{input.TSParameters, false}};
    for (qsizetype i = 0; i < input.arguments.size(); ++i) {
        const QString& argument = input.arguments[i];
        const QString path = wholePath(argument, input);
        if (!path.isEmpty())
            runs.append({path, true});
        else if (runs.last().whole)
            runs.append({argument, false});
        else
            runs.last().text += (i == 0 ? QString() : QStringLiteral(" ")) + argument;
    }

    QList<CommandLineArgument> arguments;
    for (const CommandLineArgument& run : runs) {
        if (run.whole) {
            if (arguments.size() >= input.MaxArgs)
                return arguments;
            arguments.append(run);
            continue;
        }
        bool inArgument = false;
        for (const QChar c : run.text) {
            if (isSeparator(c)) {
                inArgument = false;
                continue;
            }
            if (!inArgument) {
                if (arguments.size() >= input.MaxArgs)
                    return arguments;
                arguments.append({QString(), false});
                inArgument = true;
            }
            arguments.last().text += c;
        }
    }
    return arguments;
}

CommandLineEffects GetCommandLine(const CommandLineInput& input, SettingsValues& values,
                                  SettingsLocation& location, bool markerExists) {
    CommandLineEffects effects;
    for (const CommandLineArgument& argument : splitCommandLine(input)) {
        if (argument.whole) {
            effects.CmdLineDatabase = argument.text;
            continue;
        }
        const QString key = withoutTrailingSpaces(argument.text).toUpper();
        if (applySwitch(key, values, location, markerExists, effects))
            continue;
        if (endsInDatabaseSuffix(key)) {
            effects.CmdLineDatabase = argument.text.trimmed();
        } else if (const QString inner = enclosedDatabase(argument.text); !inner.isEmpty()) {
            effects.CmdLineDatabase = inner;
        } else {
            effects.messages.append(QStringLiteral("Unknown Command: ") + argument.text);
        }
    }
    return effects;
}

QStringList switchesInForce(const QStringList& arguments) {
    QStringList switches;
    for (const CommandLineArgument& argument : splitCommandLine({QString(), arguments})) {
        const QString key = withoutTrailingSpaces(argument.text).toUpper();
        if (!argument.whole && kSwitches.contains(key))
            switches << QLatin1Char('/') + key;
    }
    return switches;
}
