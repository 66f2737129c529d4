#include "app/cli/AttachmentCommand.h"

#include "app/cli/CliCommands.h"
#include "app/cli/ResultWriter.h"
#include "session/AttachmentFolder.h"

#include <algorithm>

namespace quarix::cli {

namespace {

struct Listed {
    engine::AttachmentFile file; // without its bytes
    std::optional<std::size_t> size;
    std::string savedAs;
};

} // namespace

int listAttachments(const CliOptions& options, const engine::AccessDatabase& db,
                    const engine::ReadOptions& read, Format format, std::ostream& out,
                    std::ostream& err) {
    const auto& a = options.arguments;
    const QString folder = QString::fromStdString(options.outputDir);
    std::vector<Listed> listed;
    bool allWritten = true;
    db.attachments(
        a[1], a[2], options.where,
        [&](const engine::AttachmentFile& file) {
            Listed entry{{file.row, file.name, file.type, std::nullopt}, std::nullopt, {}};
            if (file.bytes)
                entry.size = file.bytes->size();
            if (!folder.isEmpty() && file.bytes) {
                const auto written = session::writeAttachment(folder, QString::number(file.row),
                                                              file.name, *file.bytes);
                if (written.error.isEmpty()) {
                    entry.savedAs = written.path.toStdString();
                } else {
                    err << "quarix-cli: " << written.error.toStdString() << "\n";
                    allWritten = false;
                }
            } else if (!file.bytes) {
                err << "quarix-cli: warning: the data of '" << file.name << "' in row " << file.row
                    << " is damaged and was left out\n";
            }
            listed.push_back(std::move(entry));
        },
        read);
    std::stable_sort(listed.begin(), listed.end(),
                     [](const Listed& x, const Listed& y) { return x.file.row < y.file.row; });

    std::vector<std::string> columns = {"Row", "FileName", "Size"};
    if (!folder.isEmpty())
        columns.push_back("SavedAs");
    ListSource list(columns);
    for (const Listed& entry : listed) {
        std::vector<Cell> row = {{std::to_string(entry.file.row), Cell::Kind::Number},
                                 {entry.file.name, Cell::Kind::String},
                                 entry.size ? Cell{std::to_string(*entry.size), Cell::Kind::Number}
                                            : Cell{{}, Cell::Kind::Null}};
        if (!folder.isEmpty())
            row.push_back(entry.savedAs.empty() ? Cell{{}, Cell::Kind::Null}
                                                : Cell{entry.savedAs, Cell::Kind::String});
        list.add(std::move(row));
    }
    writeRows(out, list, format);
    return allWritten ? Success : OutputError;
}

} // namespace quarix::cli
