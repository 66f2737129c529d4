#include "tools/ProgramList.h"

namespace quarix::tools {

ProgramList::ProgramList(const std::array<QString, 10>& slotValues) {
    for (const QString& entry : slotValues) {
        if (!entry.isEmpty())
            entries_ << entry;
    }
}

std::optional<QString> ProgramList::add(const QString& name, const QString& path) {
    if (name.isEmpty() || name == QStringLiteral("Program Name"))
        return QStringLiteral("You must enter a name for the program!");
    // The entry is stored as name,path: a comma would cut the name short.
    if (name.contains(QLatin1Char(',')))
        return QStringLiteral("A program name cannot contain a comma.");
    if (path.isEmpty())
        return QStringLiteral("You must select the program file!");
    if (entries_.size() >= kMaxPrograms)
        return QStringLiteral("Only 10 programs can be installed!");
    entries_ << name + QLatin1Char(',') + path;
    return std::nullopt;
}

void ProgramList::remove(int row) {
    if (row >= 0 && row < entries_.size())
        entries_.removeAt(row);
}

int ProgramList::moveUp(int row) {
    if (row <= 0 || row >= entries_.size())
        return row;
    entries_.swapItemsAt(row, row - 1);
    return row - 1;
}

int ProgramList::moveDown(int row) {
    if (row < 0 || row >= entries_.size() - 1)
        return row;
    entries_.swapItemsAt(row, row + 1);
    return row + 1;
}

std::array<QString, 10> ProgramList::toSlots() const {
    std::array<QString, 10> slotValues;
    for (int i = 0; i < entries_.size() && i < kMaxPrograms; ++i)
        slotValues[static_cast<std::size_t>(i)] = entries_[i];
    return slotValues;
}

} // namespace quarix::tools
