#include "tests/tools/WorkbookReader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace quarix::test {

namespace {

QByteArray unzipPart(const QString& path, const QString& part) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, part});
    unzip.waitForFinished(120000);
    return unzip.readAllStandardOutput();
}

int columnNumber(const QString& ref) {
    int n = 0;
    for (const QChar c : ref) {
        if (!c.isLetter())
            break;
        n = n * 26 + (c.toLatin1() - 'A' + 1);
    }
    return n;
}

int rowNumber(const QString& ref) {
    static const QRegularExpression digits(QStringLiteral("[0-9]+$"));
    return digits.match(ref).captured(0).toInt();
}

ReadSheet readSheet(const QByteArray& xml) {
    ReadSheet sheet;
    QXmlStreamReader in(xml);
    QString ref;
    SheetCell cell;
    while (!in.atEnd()) {
        in.readNext();
        if (in.isStartElement()) {
            const auto name = in.name();
            const auto attrs = in.attributes();
            if (name == QStringLiteral("dimension"))
                sheet.dimension = attrs.value(QStringLiteral("ref")).toString();
            else if (name == QStringLiteral("autoFilter"))
                sheet.autoFilter = attrs.value(QStringLiteral("ref")).toString();
            else if (name == QStringLiteral("pane"))
                sheet.headerFrozen =
                    attrs.value(QStringLiteral("state")) == QStringLiteral("frozen") &&
                    attrs.value(QStringLiteral("ySplit")) == QStringLiteral("1");
            else if (name == QStringLiteral("col"))
                ++sheet.widthsSet;
            else if (name == QStringLiteral("c")) {
                ref = attrs.value(QStringLiteral("r")).toString();
                cell = SheetCell{attrs.value(QStringLiteral("t")).toString(),
                                 {},
                                 attrs.value(QStringLiteral("s")).toInt()};
            } else if (name == QStringLiteral("v") || name == QStringLiteral("t")) {
                cell.value += in.readElementText();
            }
        } else if (in.isEndElement() && in.name() == QStringLiteral("c")) {
            sheet.rows = std::max(sheet.rows, rowNumber(ref));
            sheet.columns = std::max(sheet.columns, columnNumber(ref));
            sheet.cells[ref] = cell;
        }
    }
    return sheet;
}

} // namespace

ReadWorkbook readWorkbook(const QString& path) {
    ReadWorkbook book;
    QXmlStreamReader workbook(unzipPart(path, QStringLiteral("xl/workbook.xml")));
    while (!workbook.atEnd()) {
        if (workbook.readNext() == QXmlStreamReader::StartElement &&
            workbook.name() == QStringLiteral("sheet"))
            book.sheetNames << workbook.attributes().value(QStringLiteral("name")).toString();
    }
    // Number formats by cell style index.
    QXmlStreamReader styles(unzipPart(path, QStringLiteral("xl/styles.xml")));
    std::map<int, QString> codes{{14, QStringLiteral("m/d/yyyy")},
                                 {22, QStringLiteral("m/d/yyyy h:mm")}};
    bool inCellXfs = false;
    int xfIndex = 0;
    while (!styles.atEnd()) {
        styles.readNext();
        if (styles.isStartElement() && styles.name() == QStringLiteral("numFmt"))
            codes[styles.attributes().value(QStringLiteral("numFmtId")).toInt()] =
                styles.attributes().value(QStringLiteral("formatCode")).toString();
        else if (styles.isStartElement() && styles.name() == QStringLiteral("cellXfs"))
            inCellXfs = true;
        else if (styles.isEndElement() && styles.name() == QStringLiteral("cellXfs"))
            inCellXfs = false;
        else if (inCellXfs && styles.isStartElement() && styles.name() == QStringLiteral("xf")) {
            const int id = styles.attributes().value(QStringLiteral("numFmtId")).toInt();
            if (codes.count(id))
                book.numberFormats[xfIndex] = codes[id];
            ++xfIndex;
        }
    }
    for (int i = 1; i <= book.sheetNames.size(); ++i)
        book.sheets.push_back(
            readSheet(unzipPart(path, QStringLiteral("xl/worksheets/sheet%1.xml").arg(i))));
    return book;
}

} // namespace quarix::test
