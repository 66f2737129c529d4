#include "tools/ProgramsMenu.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "tools/DatabaseHandOver.h"

#include <QAction>
#include <QFileInfo>
#include <QKeySequence>
#include <QMenu>

namespace quarix::tools {

namespace {

const QString kTitle = QStringLiteral("Quarix");

std::vector<Launcher::Command> candidatesFor(Accessory accessory) {
    const auto office = [](const char* direct, const char* option) {
        const QString flag = QString::fromLatin1(option);
        return std::vector<Launcher::Command>{{QString::fromLatin1(direct), {}},
                                              {QStringLiteral("libreoffice"), {flag}},
                                              {QStringLiteral("soffice"), {flag}}};
    };
    const auto firstOf = [](std::initializer_list<const char*> names) {
        std::vector<Launcher::Command> list;
        for (const char* name : names)
            list.push_back({QString::fromLatin1(name), {}});
        return list;
    };
    switch (accessory) {
    case Accessory::Access:
        return office("lobase", "--base");
    case Accessory::Word:
        return office("lowriter", "--writer");
    case Accessory::Excel:
        return office("localc", "--calc");
    case Accessory::Calculator:
        return firstOf(
            {"gnome-calculator", "kcalc", "mate-calc", "galculator", "qalculate-gtk", "xcalc"});
    case Accessory::TextEditor:
        return firstOf({"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "pluma", "xed",
                        "featherpad", "leafpad"});
    case Accessory::FileManager:
        return firstOf({"nautilus", "dolphin", "thunar", "nemo", "caja", "pcmanfm-qt", "pcmanfm"});
    }
    return {};
}

bool isDatabaseFile(const QString& path) {
    const QString upper = path.toUpper();
    return upper.endsWith(QStringLiteral("ACCDB")) || upper.endsWith(QStringLiteral("MDB"));
}

} // namespace

ProgramEntry splitEntry(const QString& entry) {
    // The path is all after the first comma: a folder name may hold one.
    const qsizetype comma = entry.indexOf(QLatin1Char(','));
    ProgramEntry split;
    split.name = comma < 0 ? entry : entry.left(comma);
    split.path = comma < 0 ? QString() : entry.mid(comma + 1);
    split.hasComma = comma >= 0;
    return split;
}

const QStringList& programShortcuts() {
    static const QStringList keys{QStringLiteral("F2"), QStringLiteral("F3"), QStringLiteral("F4"),
                                  QStringLiteral("F5"), QStringLiteral("F6"), QStringLiteral("F7"),
                                  QStringLiteral("F8"), QStringLiteral("F9"), QStringLiteral("F11"),
                                  QStringLiteral("F12")};
    return keys;
}

ProgramsMenuModel LoadProgramsMenu(const std::array<QString, 10>& programs) {
    ProgramsMenuModel model;
    for (std::size_t n = 0; n < programs.size(); ++n) {
        auto& item = model.mnuoth[n];
        item.visible = !programs[n].isEmpty();
        item.caption = item.visible ? splitEntry(programs[n]).name : QString();
        item.shortcut = programShortcuts()[static_cast<int>(n)];
    }
    model.mnulineOP1Visible = !programs[0].isEmpty();
    return model;
}

std::optional<Launcher::Command> resolveAccessory(Accessory accessory) {
    for (const Launcher::Command& candidate : candidatesFor(accessory)) {
        if (const auto found = Launcher::findExecutable(candidate.program))
            return Launcher::Command{*found, candidate.arguments};
    }
    return std::nullopt;
}

void launchAccessory(QWidget* parent, Accessory accessory, QAction* item) {
    const auto command = resolveAccessory(accessory);
    if (command && Launcher::startDetached(command->program, command->arguments))
        return;
    platform::MessageBox::show(parent, QStringLiteral("This program is not installed!"), kTitle);
    if (item)
        item->setEnabled(false);
}

void launchProgramEntry(QWidget* parent, const QString& entry) {
    const ProgramEntry program = splitEntry(entry);
    bool launched = program.hasComma;
    if (launched && isDatabaseFile(program.path)) {
        launched = Send_To_Access(program.path);
    } else if (launched) {
        const QFileInfo file(program.path);
        launched = file.isFile() && file.isExecutable()
                       ? Launcher::startDetached(file.absoluteFilePath())
                       : platform::Shell::open(program.path);
    }
    if (!launched)
        platform::MessageBox::show(
            parent, QStringLiteral("Cannot launch this program: check file and path exist!"),
            kTitle);
}

void applyProgramsMenu(QMenu* mnuTools, const std::array<QString, 10>& programs) {
    const ProgramsMenuModel model = LoadProgramsMenu(programs);
    for (int i = 0; i < 10; ++i) {
        QAction* item = mnuTools->findChild<QAction*>(QStringLiteral("mnuoth%1").arg(i));
        if (!item)
            continue;
        const auto& shown = model.mnuoth[static_cast<std::size_t>(i)];
        item->setText(shown.caption);
        item->setVisible(shown.visible);
        item->setShortcut(QKeySequence(shown.shortcut));
    }
    if (QAction* line = mnuTools->findChild<QAction*>(QStringLiteral("mnulineOP1")))
        line->setVisible(model.mnulineOP1Visible);
}

void connectProgramsMenu(QMenu* mnuTools, QWidget* parent,
                         const std::array<QString, 10>* programs) {
    for (int i = 0; i < 10; ++i) {
        if (QAction* item = mnuTools->findChild<QAction*>(QStringLiteral("mnuoth%1").arg(i)))
            QObject::connect(item, &QAction::triggered, parent, [=] {
                launchProgramEntry(parent, (*programs)[static_cast<std::size_t>(i)]);
            });
    }
    const std::pair<const char*, Accessory> accessories[] = {
        {"mnuofficeapp0", Accessory::Access},  {"mnuofficeapp1", Accessory::Word},
        {"mnuofficeapp2", Accessory::Excel},   {"mnucalc", Accessory::Calculator},
        {"mnunotepad", Accessory::TextEditor}, {"mnuexplorer", Accessory::FileManager}};
    for (const auto& [name, accessory] : accessories) {
        if (QAction* item = mnuTools->findChild<QAction*>(QString::fromLatin1(name))) {
            item->setEnabled(true);
            QObject::connect(item, &QAction::triggered, parent, [=, accessory = accessory] {
                launchAccessory(parent, accessory, item);
            });
        }
    }
}

} // namespace quarix::tools
