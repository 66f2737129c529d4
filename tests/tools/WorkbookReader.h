#pragma once

#include <QString>
#include <QStringList>

#include <map>

namespace quarix::test {

// A written .xlsx read back through `unzip -p` and its XML parsed: enough
// of each sheet to check what a spreadsheet would show.
struct SheetCell {
    QString type;  // the cell's t attribute: "" number, "b" boolean, "inlineStr", "str"
    QString value; // <v> or the inline string's text
    int style = 0; // the s attribute (0 = default)
};

struct ReadSheet {
    QString dimension;  // <dimension ref>
    QString autoFilter; // <autoFilter ref>
    bool headerFrozen = false;
    int rows = 0;                       // highest row number holding a cell
    int columns = 0;                    // highest column number holding a cell
    int widthsSet = 0;                  // number of <col> width entries
    std::map<QString, SheetCell> cells; // by reference, "A1"

    bool has(const QString& ref) const { return cells.count(ref) != 0; }
    // A cell's value and type, empty for a cell that is not there.
    QString value(const QString& ref) const { return has(ref) ? cells.at(ref).value : QString(); }
    QString type(const QString& ref) const { return has(ref) ? cells.at(ref).type : QString(); }
};

struct ReadWorkbook {
    QStringList sheetNames;
    std::map<int, QString> numberFormats; // style index -> format code
    std::vector<ReadSheet> sheets;
};

// Reads the workbook; empty (no sheets) when it cannot be read.
ReadWorkbook readWorkbook(const QString& path);

} // namespace quarix::test
