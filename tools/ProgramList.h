#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace quarix::tools {

// The rules of the Programs dialog's list without the dialog: at most ten
// "name,path" entries, filled from slot 1 without gaps.
class ProgramList {
public:
    static constexpr int kMaxPrograms = 10;

    explicit ProgramList(const std::array<QString, 10>& slotValues);

    const QStringList& entries() const { return entries_; }

    // The refusal message, or nothing when the entry was added at the end.
    std::optional<QString> add(const QString& name, const QString& path);
    void remove(int row);
    // The row the moved entry now sits on (unchanged when it cannot move).
    int moveUp(int row);
    int moveDown(int row);

    // The ten slots as OK leaves them: entries in order, the rest empty.
    std::array<QString, 10> toSlots() const;

private:
    QStringList entries_;
};

} // namespace quarix::tools
