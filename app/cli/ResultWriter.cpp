#include "app/cli/ResultWriter.h"

#include <algorithm>
#include <cstdio>

namespace quarix::cli {

namespace {

constexpr std::size_t maxTableWidth = 40;
constexpr std::int64_t widthSampleRows = 1000;

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + '"';
}

std::string jsonValue(const Cell& cell) {
    switch (cell.kind) {
    case Cell::Kind::Null:
        return "null";
    case Cell::Kind::Number:
        return cell.text;
    case Cell::Kind::Boolean:
        return cell.text == "True" ? "true" : "false";
    case Cell::Kind::String:
        break;
    }
    return jsonString(cell.text);
}

std::string jsonObject(const std::vector<std::string>& columns, const std::vector<Cell>& row) {
    std::string out = "{";
    for (std::size_t c = 0; c < columns.size() && c < row.size(); ++c)
        out += (c ? "," : "") + jsonString(columns[c]) + ":" + jsonValue(row[c]);
    return out + "}";
}

// Characters, not bytes, decide the width of a column on a terminal.
std::size_t displayWidth(const std::string& s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string fitted(std::string text, std::size_t width) {
    for (char& c : text)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    if (displayWidth(text) > width) {
        std::size_t chars = 0, i = 0;
        for (; i < text.size() && chars < width - 1; ++i)
            if ((text[i] & 0xC0) != 0x80)
                ++chars;
        while (i < text.size() && (text[i] & 0xC0) == 0x80)
            ++i;
        text = text.substr(0, i) + "\u2026";
    }
    return text + std::string(width - std::min(width, displayWidth(text)), ' ');
}

void writeTable(std::ostream& out, RowSource& rows, std::int64_t first, std::int64_t last) {
    const auto columns = rows.columns();
    std::vector<std::size_t> widths;
    for (const auto& c : columns)
        widths.push_back(std::min(maxTableWidth, std::max<std::size_t>(1, displayWidth(c))));
    for (std::int64_t r = first; r < last && r < first + widthSampleRows; ++r) {
        const auto row = rows.row(r);
        for (std::size_t c = 0; c < widths.size() && c < row.size(); ++c)
            widths[c] = std::min(maxTableWidth, std::max(widths[c], displayWidth(row[c].text)));
    }
    auto line = [&](auto cellText) {
        std::string text;
        for (std::size_t c = 0; c < widths.size(); ++c)
            text += (c ? "  " : "") + fitted(cellText(c), widths[c]);
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        out << text << '\n';
    };
    line([&](std::size_t c) { return columns[c]; });
    line([&](std::size_t c) { return std::string(widths[c], '-'); });
    for (std::int64_t r = first; r < last && out; ++r) {
        const auto row = rows.row(r);
        line([&](std::size_t c) { return c < row.size() ? row[c].text : std::string(); });
    }
}

void appendCsvField(std::string& line, const Cell& cell) {
    if (cell.kind == Cell::Kind::Null)
        return;
    const std::string& text = cell.text;
    if (!text.empty() && text.find_first_of(",\"\r\n") == std::string::npos) {
        line += text;
        return;
    }
    line += '"';
    for (char c : text) {
        line += c;
        if (c == '"')
            line += '"';
    }
    line += '"';
}

} // namespace

std::string csvField(const Cell& cell) {
    std::string field;
    appendCsvField(field, cell);
    return field;
}

void writeRows(std::ostream& out, RowSource& rows, Format format, std::int64_t first,
               std::int64_t count) {
    const std::int64_t total = rows.rowCount();
    first = std::clamp<std::int64_t>(first, 0, total);
    const std::int64_t last = count < 0 ? total : std::min(total, first + count);
    const auto columns = rows.columns();
    switch (format) {
    case Format::Table:
        writeTable(out, rows, first, last);
        break;
    case Format::Csv:
        for (std::size_t c = 0; c < columns.size(); ++c)
            out << (c ? "," : "") << csvField({columns[c], Cell::Kind::String});
        out << "\r\n";
        // One write per line: a stream write per field costs more than the field.
        for (std::int64_t r = first; r < last && out; ++r) {
            std::string line;
            const auto row = rows.row(r);
            for (std::size_t c = 0; c < row.size(); ++c) {
                if (c)
                    line += ',';
                appendCsvField(line, row[c]);
            }
            line += "\r\n";
            out.write(line.data(), static_cast<std::streamsize>(line.size()));
        }
        break;
    case Format::Json:
        out << "[";
        for (std::int64_t r = first; r < last && out; ++r)
            out << (r > first ? ",\n" : "\n") << jsonObject(columns, rows.row(r));
        out << (last > first ? "\n]\n" : "]\n");
        break;
    case Format::JsonLines:
        for (std::int64_t r = first; r < last && out; ++r)
            out << jsonObject(columns, rows.row(r)) << '\n';
        break;
    }
}

} // namespace quarix::cli
