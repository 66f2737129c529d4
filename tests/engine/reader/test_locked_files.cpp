// Encrypted and password-protected files: each read with its password gives
// exactly what its decrypted copy gives; a missing or wrong password, or a
// scheme Quarix cannot read, reads nothing and says why.
#include "engine/reader/AccessFileReader.h"
#include "engine/reader/FileHeader.h"
#include "engine/reader/FileLock.h"
#include "engine/reader/ReaderErrors.h"
#include "tests/engine/reader/CollectingSink.h"
#include "tests/support/EngineErrors.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace quarix::engine;
using quarix::test::CollectingSink;
namespace fs = std::filesystem;

namespace {

struct LockedFile {
    std::string name;
    std::string password;
    LockKind kind;
    std::string scheme;
};

std::ostream& operator<<(std::ostream& out, const LockedFile& f) {
    return out << f.name;
}

std::string lockedPath(const std::string& name) {
    return quarix::test::dataFile("encrypted/" + name);
}

ReadOptions withPassword(const std::string& path, const std::string& password) {
    ReadOptions options;
    const auto header = readFileHeader(path.c_str());
    if (header)
        options.password =
            std::make_shared<FilePassword>(credentialsFor(*header, Secret(password)));
    return options;
}

EngineError catalogueError(const std::string& path, const ReadOptions& options) {
    return quarix::test::errorOf([&] { AccessFileReader::readCatalogue(path, options); });
}

std::string testName(const testing::TestParamInfo<LockedFile>& info) {
    std::string name = info.param.name.substr(0, info.param.name.find('.'));
    std::erase(name, '-');
    std::erase(name, '_');
    return name;
}

class LockedFiles : public testing::TestWithParam<LockedFile> {};

TEST_P(LockedFiles, TheProbeNamesTheScheme) {
    const FileLock lock = probeFileLock(lockedPath(GetParam().name));
    EXPECT_EQ(lock.kind, GetParam().kind);
    EXPECT_EQ(lock.scheme, GetParam().scheme);
    EXPECT_EQ(lock.needsPassword(), !GetParam().password.empty());
    EXPECT_TRUE(lock.locked());
}

// Jet 3/4 database passwords guard pages stored as they are: there is no
// decrypted copy, only the check.
const LockedFile withPassword2003{"V2003_with-password.mdb", "password", LockKind::DatabasePassword,
                                  "a database password"};

INSTANTIATE_TEST_SUITE_P(DatabasePassword, LockedFiles, testing::Values(withPassword2003),
                         testName);

class DecryptedCopies : public testing::TestWithParam<LockedFile> {};

TEST_P(DecryptedCopies, EveryTableEqualsTheDecryptedCopy) {
    const std::string path = lockedPath(GetParam().name);
    const std::string plain = lockedPath("plain/" + GetParam().name);
    const ReadOptions options = withPassword(path, GetParam().password);
    const Catalogue locked = AccessFileReader::readCatalogue(path, options);
    const Catalogue expected = AccessFileReader::readCatalogue(plain);
    ASSERT_EQ(locked.tables.size(), expected.tables.size());
    ASSERT_FALSE(locked.tables.empty());
    EXPECT_EQ(locked.queries.size(), expected.queries.size());
    for (std::size_t t = 0; t < expected.tables.size(); ++t) {
        const TableInfo& table = expected.tables[t];
        SCOPED_TRACE(table.name);
        EXPECT_EQ(locked.tables[t].name, table.name);
        ASSERT_EQ(locked.tables[t].columns.size(), table.columns.size());
        CollectingSink ours, theirs;
        AccessFileReader::readTable(path, table.name, ours, options);
        AccessFileReader::readTable(plain, table.name, theirs);
        EXPECT_EQ(ours.rows(), theirs.rows());
    }
}

class WrongPasswords : public testing::TestWithParam<LockedFile> {};

TEST_P(WrongPasswords, AMissingOrWrongPasswordReadsNothing) {
    const std::string path = lockedPath(GetParam().name);
    const std::string& right = GetParam().password;
    std::string otherCase = right;
    otherCase[0] =
        static_cast<char>(std::isupper(right[0]) ? std::tolower(right[0]) : std::toupper(right[0]));
    for (const std::string& wrong :
         {std::string(), right + "x", otherCase, std::string("Test1234")}) {
        if (wrong == right)
            continue;
        SCOPED_TRACE("password '" + wrong + "'");
        const EngineError e = catalogueError(path, withPassword(path, wrong));
        EXPECT_EQ(e.number(), reader_errors::wrongPassword);
        EXPECT_EQ(e.description(), "Not a valid password.");
        CollectingSink sink;
        EXPECT_THROW(AccessFileReader::readTable(path, "Table1", sink, withPassword(path, wrong)),
                     EngineError);
        EXPECT_EQ(sink.begun(), 0);
    }
    EXPECT_EQ(catalogueError(path, {}).number(), reader_errors::wrongPassword);
    EXPECT_NO_THROW(AccessFileReader::readCatalogue(path, withPassword(path, right)));
}

const LockedFile agile128{"db2007-enc.accdb", "Test123", LockKind::OfficeAgile,
                          "Office Agile encryption (AES-128, SHA-1)"};
const LockedFile agile256{"db2013-enc.accdb", "1234", LockKind::OfficeAgile,
                          "Office Agile encryption (AES-256, SHA-512)"};
const LockedFile rc4CryptoApi{"db2007-oldenc.accdb", "Test123", LockKind::OfficeRc4CryptoApi,
                              "Office RC4 CryptoAPI encryption (40-bit)"};
const LockedFile standardAes{"db-nonstandard.accdb", "password", LockKind::OfficeStandard,
                             "Office standard encryption (AES-256)"};

INSTANTIATE_TEST_SUITE_P(Fixtures, WrongPasswords,
                         testing::Values(withPassword2003, rc4CryptoApi, agile128, agile256,
                                         standardAes),
                         testName);

const auto withDecryptedCopies =
    testing::Values(LockedFile{"db97-enc.mdb", "", LockKind::JetEncoding, "Jet RC4 page encoding"},
                    LockedFile{"db-enc.mdb", "", LockKind::JetEncoding, "Jet RC4 page encoding"},
                    rc4CryptoApi, agile128, agile256, standardAes);

INSTANTIATE_TEST_SUITE_P(Fixtures, LockedFiles, withDecryptedCopies, testName);
INSTANTIATE_TEST_SUITE_P(Fixtures, DecryptedCopies, withDecryptedCopies, testName);

TEST(DatabasePassword, TheRightPasswordReadsTheRows) {
    const std::string path = lockedPath("V2003_with-password.mdb");
    CollectingSink sink;
    AccessFileReader::readTable(path, "Table1", sink, withPassword(path, "password"));
    ASSERT_EQ(sink.rows().size(), 3u);
    EXPECT_EQ(sink.rows()[2][*sink.column("Data")].display, "Three");
}

// Copies of the fixtures, changed, and the helper program replaced.
class LockedFileChanges : public testing::Test {
protected:
    void TearDown() override { AccessFileReader::setHelperPath(""); }

    // A copy of the fixture with its bytes changed by change.
    template <typename Change> std::string changedCopy(const std::string& name, Change change) {
        std::string bytes = quarix::test::fileBytes(lockedPath(name));
        change(bytes);
        const fs::path target = dir_ / (std::to_string(++copies_) + "-" + name);
        quarix::test::writeBytes(target, bytes);
        return target.string();
    }

    // A copy of the fixture with `from` replaced by `to` (same length).
    std::string changedCopy(const std::string& name, const std::string& from,
                            const std::string& to) {
        return changedCopy(name, [&](std::string& bytes) {
            const auto at = bytes.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            bytes.replace(at, from.size(), to);
        });
    }

    // A copy of the fixture with a database password set: its bytes XOR-ed
    // into the (masked, empty) password field.
    std::string withDatabasePassword(const std::string& name, const std::string& stored) {
        return changedCopy(name, [&](std::string& bytes) {
            for (std::size_t i = 0; i < stored.size(); ++i)
                bytes[0x42 + i] = static_cast<char>(bytes[0x42 + i] ^ stored[i]);
        });
    }

    quarix::test::ScratchFolder dir_{"locked-files"};
    int copies_ = 0;
};

TEST_F(LockedFileChanges, SchemesQuarixCannotReadSayWhichTheyAre) {
    struct Case {
        std::string path;
        std::string scheme;
    };
    const Case cases[] = {
        {changedCopy("db2013-enc.accdb", std::string("\x04\0\x04\0\x40\0\0\0", 8),
                     std::string("\x04\0\x03\0\x40\0\0\0", 8)),
         "Office extensible encryption"},
        {changedCopy("db2013-enc.accdb",
                     "keyData saltSize=\"16\" blockSize=\"16\" keyBits=\"256\" "
                     "hashSize=\"64\" cipherAlgorithm=\"AES\"",
                     "keyData saltSize=\"16\" blockSize=\"16\" keyBits=\"256\" "
                     "hashSize=\"64\" cipherAlgorithm=\"DES\""),
         "Office Agile encryption with the DES cipher"},
        {changedCopy("db2007-enc.accdb",
                     "keyEncryptor uri=\"http://schemas.microsoft.com/office/"
                     "2006/keyEncryptor/password\"",
                     "keyEncryptor uri=\"http://schemas.microsoft.com/office/2006/keyEncryptor/"
                     "certific\""),
         "Office Agile encryption with a certificate"},
        {changedCopy("db2007-enc.accdb", "</encryption>", "</encryptiom>"),
         "a damaged Office encryption header"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scheme);
        const FileLock lock = probeFileLock(c.path);
        EXPECT_EQ(lock.kind, LockKind::Unsupported);
        EXPECT_EQ(lock.scheme, c.scheme);
        EXPECT_FALSE(lock.needsPassword());
        const EngineError e = catalogueError(c.path, withPassword(c.path, "1234"));
        EXPECT_EQ(e.number(), reader_errors::unsupportedEncryption);
        EXPECT_EQ(e.description(), "The database '" + c.path + "' is encrypted with " + c.scheme +
                                       ", which Quarix cannot read.");
    }
}

TEST_F(LockedFileChanges, DatabasePasswordsOfJet3AndJet4InTheirOwnEncodings) {
    struct Case {
        std::string name;
        std::string stored; // as the file holds it
        std::string password;
    };
    const Case cases[] = {
        // Jet 3: bytes in the file's code page (1252).
        {"db97-enc.mdb", "pass\xe9", "pass\u00e9"},
        // Jet 4: UTF-16LE.
        {"db-enc.mdb", std::string("P\0\xe4\0s\0s\0", 8), "P\u00e4ss"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = withDatabasePassword(c.name, c.stored);
        const FileLock lock = probeFileLock(path);
        EXPECT_EQ(lock.kind, LockKind::DatabasePassword);
        EXPECT_EQ(lock.scheme, "a database password and Jet RC4 page encoding");
        EXPECT_EQ(catalogueError(path, withPassword(path, "pass")).number(),
                  reader_errors::wrongPassword);
        EXPECT_EQ(catalogueError(path, {}).number(), reader_errors::wrongPassword);
        CollectingSink ours, plain;
        AccessFileReader::readTable(path, "Table1", ours, withPassword(path, c.password));
        AccessFileReader::readTable(lockedPath("plain/" + c.name), "Table1", plain);
        EXPECT_EQ(ours.rows(), plain.rows());
        EXPECT_EQ(ours.rows().size(), 2u);
    }
}

TEST_F(LockedFileChanges, AChangedPasswordIsCheckedAgainstTheFileAsItIsNow) {
    // Credentials made for another file (another salt and rounds): the
    // reader hashes the password again for this one.
    const std::string other = lockedPath("db2007-enc.accdb");
    const std::string path = lockedPath("db2007-oldenc.accdb");
    EXPECT_NO_THROW(AccessFileReader::readCatalogue(path, withPassword(other, "Test123")));
    EXPECT_EQ(catalogueError(path, withPassword(other, "Test12")).number(),
              reader_errors::wrongPassword);
}

TEST_F(LockedFileChanges, ThePasswordReachesTheReaderOnlyThroughItsInput) {
    const fs::path helper = dir_ / "helper.sh";
    std::ofstream(helper) << "#!/bin/sh\n"
                          << "echo \"$@\" > '" << (dir_ / "arguments").string() << "'\n"
                          << "env > '" << (dir_ / "environment").string() << "'\n"
                          << "cat > '" << (dir_ / "input").string() << "'\n";
    fs::permissions(helper, fs::perms::owner_all);
    AccessFileReader::setHelperPath(helper.string());
    const std::string path = lockedPath("db2013-enc.accdb");
    catalogueError(path, withPassword(path, "Quarix-secret-1234"));
    const auto contents = [&](const std::string& name) {
        return quarix::test::fileBytes(dir_ / name);
    };
    EXPECT_NE(contents("arguments").find("--password-on-stdin"), std::string::npos);
    EXPECT_EQ(contents("arguments").find("Quarix-secret"), std::string::npos);
    EXPECT_EQ(contents("environment").find("Quarix-secret"), std::string::npos);
    EXPECT_NE(contents("input").find("Quarix-secret-1234"), std::string::npos);
}

} // namespace
