#include "session/XlsxExport.h"

#include "session/SheetName.h"

#include <QDateTime>
#include <QFile>

#include <xlsxwriter.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace quarix::session {

namespace {

constexpr int kMaxCellText = 32767; // a spreadsheet cell's limit
constexpr double kWidestColumn = 80.0;
constexpr double kNarrowestColumn = 6.0;
constexpr long kProgressEvery = 1000;
// Whole numbers with more digits lose their last ones in a spreadsheet.
constexpr qlonglong kLargestExactWhole = 999999999999999LL;

struct Formats {
    lxw_format* header = nullptr;
    lxw_format* date = nullptr;
    lxw_format* dateTime = nullptr;
    lxw_format* band = nullptr;
};

Formats makeFormats(lxw_workbook* book) {
    Formats f;
    f.header = workbook_add_format(book);
    format_set_bold(f.header);
    format_set_font_color(f.header, LXW_COLOR_WHITE);
    format_set_bg_color(f.header, 0x1F4E78);
    format_set_bottom(f.header, LXW_BORDER_THIN);
    f.date = workbook_add_format(book);
    format_set_num_format(f.date, "yyyy-mm-dd");
    f.dateTime = workbook_add_format(book);
    format_set_num_format(f.dateTime, "yyyy-mm-dd hh:mm:ss");
    f.band = workbook_add_format(book);
    format_set_bg_color(f.band, 0xDDEBF7);
    return f;
}

bool fitsSpreadsheetDates(const QDate& date) {
    return date >= QDate(1900, 1, 1) && date <= QDate(9999, 12, 31);
}

QByteArray cellText(const QString& text) {
    return text.left(kMaxCellText).toUtf8();
}

// The characters a whole number takes, with its sign.
int wholeWidth(qlonglong whole) {
    int width = whole < 0 ? 2 : 1;
    for (qulonglong rest = whole < 0 ? 0 - static_cast<qulonglong>(whole)
                                     : static_cast<qulonglong>(whole);
         rest >= 10; rest /= 10)
        ++width;
    return width;
}

// The characters of the widest line of a text: what its column needs.
int widestLine(const QString& text) {
    qsizetype widest = 0, line = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('\n')) {
            widest = std::max(widest, line);
            line = 0;
        } else {
            ++line;
        }
    }
    return static_cast<int>(std::min<qsizetype>(std::max(widest, line), 1000));
}

// Writes one value; returns the width in characters it needs.
int writeValue(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t col, const QVariant& value,
               const Formats& f) {
    if (!value.isValid() || value.isNull())
        return 0;
    switch (value.typeId()) {
    case QMetaType::Bool:
        worksheet_write_boolean(sheet, row, col, value.toBool() ? 1 : 0, nullptr);
        return 5;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        const qlonglong whole = value.toLongLong();
        if (whole > kLargestExactWhole || whole < -kLargestExactWhole)
            worksheet_write_string(sheet, row, col, QByteArray::number(whole).constData(), nullptr);
        else
            worksheet_write_number(sheet, row, col, static_cast<double>(whole), nullptr);
        return wholeWidth(whole);
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        char text[32];
        const auto written =
            std::to_chars(text, text + sizeof text - 1, number, std::chars_format::general, 15);
        *written.ptr = '\0';
        if (std::isfinite(number))
            worksheet_write_number(sheet, row, col, number, nullptr);
        else
            worksheet_write_string(sheet, row, col,
                                   QString::number(number, 'g', 15).toUtf8().constData(), nullptr);
        return static_cast<int>(written.ptr - text);
    }
    case QMetaType::QDateTime: {
        const QDateTime when = value.toDateTime();
        const bool wholeDay = when.time() == QTime(0, 0);
        if (!fitsSpreadsheetDates(when.date())) {
            const QString text = when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
            worksheet_write_string(sheet, row, col, text.toUtf8().constData(), nullptr);
            return static_cast<int>(text.size());
        }
        lxw_datetime stamp{};
        stamp.year = when.date().year();
        stamp.month = when.date().month();
        stamp.day = when.date().day();
        stamp.hour = when.time().hour();
        stamp.min = when.time().minute();
        stamp.sec = when.time().second() + when.time().msec() / 1000.0;
        worksheet_write_datetime(sheet, row, col, &stamp, wholeDay ? f.date : f.dateTime);
        return wholeDay ? 10 : 19;
    }
    case QMetaType::QByteArray: {
        const QByteArray hex = value.toByteArray().toHex().toUpper().left(kMaxCellText);
        worksheet_write_string(sheet, row, col, hex.constData(), nullptr);
        return static_cast<int>(hex.size());
    }
    default: {
        const QString text = value.toString();
        if (text.isEmpty())
            return 0;
        worksheet_write_string(sheet, row, col, cellText(text).constData(), nullptr);
        return widestLine(text);
    }
    }
}

// One sheet being filled: header written, widths tracked.
class SheetWriter {
public:
    SheetWriter(lxw_workbook* book, const QString& name, const QStringList& headers,
                const Formats& formats)
        : formats_(formats), widths_(static_cast<std::size_t>(headers.size()), 0) {
        const QByteArray utf8 = name.toUtf8();
        const bool named =
            !name.isEmpty() && workbook_validate_sheet_name(book, utf8.constData()) == LXW_NO_ERROR;
        sheet_ = workbook_add_worksheet(book, named ? utf8.constData() : nullptr);
        for (int c = 0; c < headers.size(); ++c) {
            worksheet_write_string(sheet_, 0, static_cast<lxw_col_t>(c),
                                   cellText(headers[c]).constData(), formats_.header);
            widths_[static_cast<std::size_t>(c)] =
                static_cast<int>(headers[c].size()) + 3; // room for the filter button
        }
    }

    bool valid() const { return sheet_ != nullptr; }

    void writeRow(const std::vector<QVariant>& values) {
        ++rows_;
        const auto count = std::min(values.size(), widths_.size());
        for (std::size_t c = 0; c < count; ++c) {
            const int width = writeValue(sheet_, static_cast<lxw_row_t>(rows_),
                                         static_cast<lxw_col_t>(c), values[c], formats_);
            widths_[c] = std::max(widths_[c], width);
        }
    }

    // The table look over the block: fitted columns, filter buttons, frozen
    // header, banded rows.
    void finish() {
        if (widths_.empty())
            return;
        for (std::size_t c = 0; c < widths_.size(); ++c) {
            const double width =
                std::clamp(widths_[c] * 1.1 + 1.0, kNarrowestColumn, kWidestColumn);
            worksheet_set_column(sheet_, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                                 width, nullptr);
        }
        const auto lastCol = static_cast<lxw_col_t>(widths_.size() - 1);
        worksheet_autofilter(sheet_, 0, 0, static_cast<lxw_row_t>(rows_), lastCol);
        worksheet_freeze_panes(sheet_, 1, 0);
        if (rows_ > 0) {
            lxw_conditional_format band{};
            band.type = LXW_CONDITIONAL_TYPE_FORMULA;
            band.value_string = const_cast<char*>("=MOD(ROW(),2)=0");
            band.format = formats_.band;
            worksheet_conditional_format_range(sheet_, 1, 0, static_cast<lxw_row_t>(rows_), lastCol,
                                               &band);
        }
    }

    long rows() const { return rows_; }
    QString name() const { return QString::fromUtf8(sheet_->name); }

private:
    lxw_worksheet* sheet_ = nullptr;
    const Formats& formats_;
    std::vector<int> widths_;
    long rows_ = 0;
};

} // namespace

WorkbookResult writeWorkbook(ExportRows& rows, const WorkbookOptions& options,
                             const ExportProgress& progress, const std::atomic<bool>* cancel) {
    WorkbookResult result;
    const QByteArray file = QFile::encodeName(options.path);
    lxw_workbook_options bookOptions{};
    bookOptions.constant_memory = LXW_TRUE;
    bookOptions.use_zip64 = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(file.constData(), &bookOptions);
    if (!book) {
        result.error = QStringLiteral("The file %1 cannot be created.").arg(options.path);
        return result;
    }
    const Formats formats = makeFormats(book);
    const QStringList headers = rows.headers();
    const QString firstName = isValidSheetName(options.sheetName) ? options.sheetName : QString();
    const long perSheet = std::max(1L, options.dataRowsPerSheet);
    const long expected = rows.rowCount();

    auto sheet = std::make_unique<SheetWriter>(book, firstName, headers, formats);
    std::vector<QVariant> values;
    try {
        while (sheet->valid() && rows.next(values)) {
            if (sheet->rows() == perSheet) {
                sheet->finish();
                result.sheetNames << sheet->name();
                const int number = static_cast<int>(result.sheetNames.size()) + 1;
                sheet = std::make_unique<SheetWriter>(
                    book, continuationSheetName(firstName, number), headers, formats);
            }
            sheet->writeRow(values);
            ++result.rowsWritten;
            if (result.rowsWritten % kProgressEvery == 0) {
                if (progress)
                    progress(result.rowsWritten, expected);
                if (cancel && cancel->load()) {
                    result.cancelled = true;
                    break;
                }
            }
        }
    } catch (const engine::EngineError& e) {
        result.error =
            QStringLiteral("%1 %2").arg(e.number()).arg(QString::fromStdString(e.description()));
    }
    if (sheet->valid()) {
        sheet->finish();
        result.sheetNames << sheet->name();
    } else if (result.error.isEmpty()) {
        result.error = QStringLiteral("The workbook cannot take another sheet.");
    }
    const lxw_error closed = workbook_close(book);
    if (closed != LXW_NO_ERROR && result.error.isEmpty())
        result.error = QString::fromUtf8(lxw_strerror(closed));
    result.ok = result.error.isEmpty() && !result.cancelled;
    if (!result.ok)
        QFile::remove(options.path);
    if (result.ok && progress)
        progress(result.rowsWritten, expected);
    return result;
}

} // namespace quarix::session
