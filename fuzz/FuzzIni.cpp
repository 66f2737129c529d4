// The settings file reader on any bytes, hand edits included: the input is
// a value (a 16-bit little-endian length and UTF-8 bytes) and the file.
// Reading never fails; a value written is the value read back, both from
// the document and from its bytes read again.
#include "settings/IniDocument.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void requireSame(const std::optional<QString>& read, const QString& expected) {
    if (!read || *read != expected)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const std::size_t valueLength = std::min<std::size_t>(data[0] | (data[1] << 8), size - 2);
    const QString value = QString::fromUtf8(reinterpret_cast<const char*>(data + 2),
                                            static_cast<qsizetype>(valueLength));
    const QByteArray file(reinterpret_cast<const char*>(data + 2 + valueLength),
                          static_cast<qsizetype>(size - 2 - valueLength));

    IniDocument document = IniDocument::fromBytes(file);
    for (const char* section : {"Quarix", "History", "SavedSearches", ""})
        for (const char* key : {"Version", "Recent1", "Search1", ""})
            document.value(QLatin1String(section), QLatin1String(key));

    QString expected = value;
    expected.replace(QLatin1String("\r\n"), QLatin1String(" "));
    expected.replace(QLatin1Char('\r'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '));
    document.setValue(QStringLiteral("History"), QStringLiteral("Recent1"), value);
    requireSame(document.value(QStringLiteral("history"), QStringLiteral("RECENT1")), expected);
    const IniDocument reread = IniDocument::fromBytes(document.toBytes());
    requireSame(reread.value(QStringLiteral("History"), QStringLiteral("Recent1")), expected);
    return 0;
}
