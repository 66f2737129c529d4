// Settings files the INI fuzzer found: a value written must read back the
// same, and the rest of the file must keep its meaning.
#include "settings/IniDocument.h"

#include <gtest/gtest.h>

namespace {

// A Windows-1252 file whose only bytes that are not UTF-8 sit in the value
// being replaced: read again it would be taken for UTF-8, so "Ã©" would
// turn into "é" and a leading "ï»¿" into a byte-order mark that moves a
// section.
TEST(IniFuzzFindings, ReplacingTheLastWindows1252ByteKeepsTheFileMeaning) {
    const QByteArray file = "\xEF\xBB\xBF[ history ]\n  recent0 = 'x'\n[History]\nRecent1=caf\xE9\n"
                            "Recent2=Caf\xC3\xA9\n";
    IniDocument document = IniDocument::fromBytes(file);
    ASSERT_EQ(document.value(QStringLiteral("History"), QStringLiteral("Recent2")),
              QStringLiteral("Caf\u00C3\u00A9"));

    document.setValue(QStringLiteral("History"), QStringLiteral("Recent1"),
                      QStringLiteral("line\r\nbreak"));
    const IniDocument reread = IniDocument::fromBytes(document.toBytes());
    EXPECT_EQ(reread.value(QStringLiteral("History"), QStringLiteral("Recent1")),
              QStringLiteral("line break"));
    EXPECT_EQ(reread.value(QStringLiteral("History"), QStringLiteral("Recent2")),
              QStringLiteral("Caf\u00C3\u00A9"));
    EXPECT_FALSE(reread.value(QStringLiteral("History"), QStringLiteral("recent0")).has_value());
}

} // namespace
