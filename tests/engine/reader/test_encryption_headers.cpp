// The headers of locked files read byte by byte: damaged or cut ones never
// crash and never pass for readable; credentials survive their trip to the
// reader and garbage does not; connect strings shown lose their passwords.
#include "engine/reader/ConnectString.h"
#include "engine/reader/Credentials.h"
#include "engine/reader/FileHeader.h"
#include "engine/reader/FileLock.h"
#include "engine/reader/JetPassword.h"
#include "engine/reader/OfficeEncryption.h"
#include "tests/support/TestData.h"

#include <gtest/gtest.h>

#include <random>
#include <variant>

using namespace quarix::engine;

namespace {

FileHeader headerOf(const std::string& name) {
    const auto header = readFileHeader(quarix::test::dataFile("encrypted/" + name).c_str());
    EXPECT_TRUE(header) << name;
    return header ? *header : FileHeader{};
}

class EncryptionInfos : public testing::TestWithParam<std::string> {};

TEST_P(EncryptionInfos, CutOrGarbledOnesAreNeverTakenForReadable) {
    const std::string info = headerOf(GetParam()).encryptionInfo;
    ASSERT_FALSE(std::holds_alternative<UnreadableEncryption>(parseOfficeEncryption(info).form));
    // Cut anywhere before its end (an Agile descriptor's closing tag), the
    // information is incomplete.
    const std::size_t whole =
        info.find("</encryption>") != std::string::npos ? info.rfind('>') + 1 : info.size();
    for (std::size_t size = 0; size < whole; ++size) {
        const OfficeEncryption cut = parseOfficeEncryption(info.substr(0, size));
        EXPECT_TRUE(std::holds_alternative<UnreadableEncryption>(cut.form)) << size;
        EXPECT_FALSE(cut.scheme.empty());
    }
    std::mt19937 random(11);
    for (int i = 0; i < 2000; ++i) {
        std::string garbled = info;
        for (int flips = 0; flips < 4; ++flips)
            garbled[random() % garbled.size()] = static_cast<char>(random());
        const OfficeEncryption parsed = parseOfficeEncryption(garbled);
        if (const auto* agile = std::get_if<AgileEncryption>(&parsed.form)) {
            EXPECT_EQ(agile->password.salt.size(), 16u);
            EXPECT_LE(agile->hashRounds, 10'000'000u);
        }
        if (const auto* binary = std::get_if<BinaryEncryption>(&parsed.form)) {
            EXPECT_EQ(binary->salt.size(), 16u);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, EncryptionInfos,
                         testing::Values("db2007-oldenc.accdb", "db2007-enc.accdb",
                                         "db2013-enc.accdb", "db-nonstandard.accdb"),
                         [](const auto& info) {
                             std::string name = info.param.substr(0, info.param.find('.'));
                             std::erase(name, '-');
                             return name;
                         });

TEST(JetPassword, IsReadFromItsMaskedField) {
    EXPECT_EQ(jetPassword(headerOf("V2003_with-password.mdb")).text(), "password");
    EXPECT_TRUE(jetPassword(headerOf("db-enc.mdb")).empty());
    EXPECT_TRUE(jetPassword(headerOf("db97-enc.mdb")).empty());
    const auto shop = readFileHeader(quarix::test::dataFile("shop.mdb").c_str());
    ASSERT_TRUE(shop);
    EXPECT_TRUE(jetPassword(*shop).empty());
}

TEST(Credentials, SurviveTheirEncodingAndGarbageDoesNot) {
    const Credentials made = credentialsFor(headerOf("db2013-enc.accdb"), Secret("1234"));
    ASSERT_TRUE(made.hashed);
    EXPECT_EQ(made.hashed->rounds, 100000u);
    EXPECT_EQ(made.hashed->value.size(), 64u);
    const Secret encoded = encodeCredentials(made);
    const Credentials back = decodeCredentials(encoded.bytes());
    EXPECT_EQ(back.password.text(), "1234");
    ASSERT_TRUE(back.hashed);
    EXPECT_TRUE(back.hashed->fits(made.hashed->hash, made.hashed->salt, made.hashed->rounds));
    EXPECT_EQ(back.hashed->value, made.hashed->value);

    for (std::size_t size = 0; size < encoded.size(); ++size)
        EXPECT_TRUE(decodeCredentials(encoded.bytes().first(size)).empty()) << size;
    std::vector<std::uint8_t> longer(encoded.bytes().begin(), encoded.bytes().end());
    longer.push_back(0);
    EXPECT_TRUE(decodeCredentials(longer).empty());
    // A Jet password needs no hashing.
    EXPECT_FALSE(credentialsFor(headerOf("V2003_with-password.mdb"), Secret("x")).hashed);
}

TEST(FileLock, AFileThatIsNoAccessFileProbesAsUnlocked) {
    EXPECT_EQ(probeFileLock("/no/such/file.accdb").kind, LockKind::None);
    EXPECT_EQ(probeFileLock(quarix::test::dataFile("csv/Customers.csv")).kind, LockKind::None);
}

class ConnectString : public testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(ConnectString, BlanksEveryPassword) {
    EXPECT_EQ(withoutPassword(GetParam().first), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(
    Sources, ConnectString,
    testing::Values(std::pair{"ODBC;DSN=Sales;UID=me;PWD=secret;APP=Access",
                              "ODBC;DSN=Sales;UID=me;PWD=;APP=Access"},
                    std::pair{"DSN=Sales;pwd=secret", "DSN=Sales;pwd="},
                    std::pair{"DSN=Sales;Password=secret;", "DSN=Sales;Password=;"},
                    std::pair{"DSN=Sales;PWD={se;cret};UID=me", "DSN=Sales;PWD=;UID=me"},
                    std::pair{"DSN=Sales;UID=me", "DSN=Sales;UID=me"}, std::pair{"", ""}));

} // namespace
