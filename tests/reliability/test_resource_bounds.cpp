// Files that claim more than they hold, or that loop: an absurd row count,
// a memo claiming hundreds of megabytes, a saved query that reads itself.
// Each gives a clear error or a bounded result. And statements the SQL
// fuzzer found: each must run as Access would run it, not fail inside SQLite.
#include "engine/AccessDatabase.h"
#include "engine/EngineError.h"
#include "tests/reliability/FixtureCopy.h"
#include "tests/support/EngineErrors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;
using namespace quarix::engine;

namespace {

void putU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::uint32_t u32At(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, 4);
    return value;
}

std::string utf16(const std::string& ascii) {
    std::string out;
    for (const char c : ascii)
        out += {c, '\0'};
    return out;
}

class ResourceBounds : public testing::Test {
protected:
    void SetUp() override { AccessDatabase::setCacheEnabled(false); }
    void TearDown() override { AccessDatabase::setCacheEnabled(true); }

    // A copy of a fixture with its bytes changed by patch.
    template <typename Patch>
    std::string patchedCopy(const std::string& fixture, const std::string& name, Patch patch) {
        std::string bytes = quarix::test::fileBytes(quarix::test::dataFile(fixture));
        patch(bytes);
        const fs::path path = dir_ / name;
        quarix::test::writeBytes(path, bytes);
        return path.string();
    }

    static EngineError errorOf(const std::shared_ptr<AccessDatabase>& db,
                               const std::string& statement) {
        return quarix::test::errorOf([&] { db->execute(statement)->rowCount(); });
    }

    quarix::test::ScratchFolder dir_{"resource-bounds"};
};

TEST_F(ResourceBounds, AnAbsurdDeclaredRowCountReadsTheRowsThatExist) {
    for (const char* fixture : {"shop.mdb", "shop.accdb", "real/testV1997.mdb"}) {
        const Catalogue original =
            AccessDatabase::open(quarix::test::dataFile(fixture))->catalogue();
        const auto customers = std::find_if(original.tables.begin(), original.tables.end(),
                                            [](const TableInfo& t) { return !t.system; });
        ASSERT_NE(customers, original.tables.end());
        // The row count sits in the table's definition page (the low bits
        // of its Id): at 12 in Jet 3's 2 KB pages, at 16 in 4 KB pages.
        const bool jet3 = original.format == FileFormat::Jet3;
        const std::size_t at =
            (customers->id & 0xFFFFFF) * (jet3 ? 2048u : 4096u) + (jet3 ? 12u : 16u);
        const std::string path =
            patchedCopy(fixture, fs::path(fixture).filename().string(), [&](std::string& bytes) {
                ASSERT_EQ(u32At(bytes, at), customers->rowEstimate) << fixture;
                putU32(bytes, at, 0xFFFFFFF0u);
            });

        const auto db = AccessDatabase::open(path);
        const auto& patched =
            *std::find_if(db->catalogue().tables.begin(), db->catalogue().tables.end(),
                          [&](const TableInfo& t) { return t.name == customers->name; });
        EXPECT_EQ(patched.rowEstimate, 0xFFFFFFF0u) << fixture;
        const auto expected = AccessDatabase::open(quarix::test::dataFile(fixture))
                                  ->execute(customers->name)
                                  ->rowCount();
        EXPECT_EQ(db->execute(customers->name)->rowCount(), expected) << fixture;
    }
}

TEST_F(ResourceBounds, AMemoClaimingHundredsOfMegabytesIsAClearErrorOrBounded) {
    // The 70,000-character memo of Types is a chain of pages whose 12-byte
    // header gives its length: 140,000 bytes of UTF-16.
    const auto withMemoLength = [&](std::uint32_t length, const std::string& name) {
        return patchedCopy("shop.mdb", name, [&](std::string& bytes) {
            std::size_t at = 0;
            int found = 0;
            for (std::size_t i = 0; i + 12 <= bytes.size(); ++i)
                if (u32At(bytes, i) == 140000u && u32At(bytes, i + 4) != 0) {
                    at = i;
                    ++found;
                }
            ASSERT_EQ(found, 1);
            putU32(bytes, at, length);
        });
    };

    const auto huge = AccessDatabase::open(withMemoLength(300u << 20, "huge.mdb"));
    const EngineError e = errorOf(huge, "Types");
    EXPECT_NE(e.number(), 0);
    EXPECT_NE(e.description().find("256 MB"), std::string::npos) << e.description();
    EXPECT_EQ(huge->execute("Customers")->rowCount(), 250) << "the other tables still read";

    // Under the limit, the chain still ends where the pages end.
    const auto large = AccessDatabase::open(withMemoLength(200u << 20, "large.mdb"));
    try {
        EXPECT_EQ(
            large->execute("Types")->rowCount(),
            AccessDatabase::open(quarix::test::dataFile("shop.mdb"))->execute("Types")->rowCount());
    } catch (const EngineError& e) {
        EXPECT_FALSE(e.description().empty());
    }
}

TEST_F(ResourceBounds, ASavedQueryThatReadsItselfIsACircularReference) {
    // Countries reads Customers; the names have the same length, so the
    // rows of Countries in MSysQueries can be made to read Countries.
    const Catalogue original =
        AccessDatabase::open(quarix::test::dataFile("shop.mdb"))->catalogue();
    const auto countries = std::find_if(original.queries.begin(), original.queries.end(),
                                        [](const QueryInfo& q) { return q.name == "Countries"; });
    ASSERT_NE(countries, original.queries.end());
    const std::string path = patchedCopy("shop.mdb", "circular.mdb", [&](std::string& bytes) {
        std::string id(4, '\0');
        putU32(id, 0, static_cast<std::uint32_t>(countries->id));
        int patched = 0;
        for (std::size_t at = bytes.find(id); at != std::string::npos;
             at = bytes.find(id, at + 1)) {
            // The row's texts follow its fixed columns.
            const std::size_t name = bytes.substr(at, 120).find(utf16("Customers"));
            if (name != std::string::npos) {
                bytes.replace(at + name, 18, utf16("Countries"));
                ++patched;
            }
        }
        ASSERT_GT(patched, 0);
    });

    const auto db = AccessDatabase::open(path);
    EXPECT_EQ(db->savedQuerySql("Countries").find("Customers"), std::string::npos)
        << db->savedQuerySql("Countries");
    EXPECT_EQ(errorOf(db, "Countries").number(), 3103);
    EXPECT_EQ(errorOf(db, "SELECT * FROM Countries WHERE Country Like 'U*'").number(), 3103);
    EXPECT_EQ(db->execute("London Customers")->rowCount(), 22);
}

// Text with zero characters inside, from a literal.
template <std::size_t N> std::string withZeros(const char (&text)[N]) {
    return std::string(text, N - 1);
}

// A zero character inside a text ended the translated statement early:
// "unrecognized token" from SQLite instead of a result.
TEST(SqlFuzzFindings, AZeroCharacterInsideATextIsKept) {
    const auto db = AccessDatabase::open(quarix::test::dataFile("shop.mdb"));
    const auto length =
        db->execute(withZeros("SELECT TOP 1 Len('a\0b') AS n, 'x\0''y' AS t FROM Customers"));
    ASSERT_EQ(length->rowCount(), 1);
    EXPECT_EQ(length->text(0, length->row(0)[0]), "3");
    EXPECT_EQ(length->text(1, length->row(0)[1]), withZeros("x\0'y"));

    const std::int64_t all =
        db->execute("SELECT * FROM Customers WHERE City Is Not Null")->rowCount();
    EXPECT_EQ(db->filter("Customers", withZeros("[City] <> 'Lon\0don'"))->rowCount(), all);
}

} // namespace
