// The cryptography functions against published test vectors (FIPS 180,
// FIPS 197, NIST SP 800-38A, the RC4 examples of its original posting),
// with wrong keys and malformed input.
#include "engine/crypto/Aes.h"
#include "engine/crypto/Hash.h"
#include "engine/crypto/Rc4.h"
#include "engine/crypto/Secret.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace quarix::engine;

namespace {

std::vector<std::uint8_t> hex(const std::string& text) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoul(text.substr(i, 2), nullptr, 16)));
    return out;
}

std::string hexOf(std::span<const std::uint8_t> bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (const std::uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::span<const std::uint8_t> ascii(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct HashCase {
    HashAlgorithm algorithm;
    std::string message;
    std::string digest;
};

class HashVectors : public testing::TestWithParam<HashCase> {};

TEST_P(HashVectors, MatchThePublishedDigests) {
    const HashCase& c = GetParam();
    EXPECT_EQ(hexOf(digest(c.algorithm, {ascii(c.message)}).bytes()), c.digest);
    EXPECT_EQ(digestSize(c.algorithm) * 2, c.digest.size());
    // Added in pieces, and twice in a row on one Hash: finishing starts afresh.
    Hash hash(c.algorithm);
    for (int round = 0; round < 2; ++round) {
        for (std::size_t i = 0; i < c.message.size(); i += 7)
            hash.add(ascii(c.message).subspan(i, std::min<std::size_t>(7, c.message.size() - i)));
        EXPECT_EQ(hexOf(hash.finish().bytes()), c.digest) << "round " << round;
    }
}

const std::string twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";

INSTANTIATE_TEST_SUITE_P(
    Fips180, HashVectors,
    testing::Values(
        HashCase{HashAlgorithm::Sha1, "abc", "a9993e364706816aba3e25717850c26c9cd0d89d"},
        HashCase{HashAlgorithm::Sha1, twoBlocks, "84983e441c3bd26ebaae4aa1f95129e5e54670f1"},
        HashCase{HashAlgorithm::Sha256, "abc",
                 "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        HashCase{HashAlgorithm::Sha384, "abc",
                 "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc"
                 "2358baeca134c825a7"},
        HashCase{HashAlgorithm::Sha512, "abc",
                 "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1"
                 "a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"}));

struct AesCase {
    std::string key;
    std::string plain;
    std::string cipher;
};

class AesBlockVectors : public testing::TestWithParam<AesCase> {};

TEST_P(AesBlockVectors, DecryptToThePlainText) {
    const AesCase& c = GetParam();
    auto data = hex(c.cipher);
    AesDecryption(hex(c.key)).decryptBlocks(data);
    EXPECT_EQ(hexOf(data), c.plain);
}

TEST_P(AesBlockVectors, AKeyOneBitOffGivesSomethingElse) {
    const AesCase& c = GetParam();
    auto key = hex(c.key);
    key.back() ^= 1;
    auto data = hex(c.cipher);
    AesDecryption(key).decryptBlocks(data);
    EXPECT_NE(hexOf(data), c.plain);
}

INSTANTIATE_TEST_SUITE_P(
    Fips197, AesBlockVectors,
    testing::Values(AesCase{"000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff",
                            "69c4e0d86a7b0430d8cdb78070b4c55a"},
                    AesCase{"000102030405060708090a0b0c0d0e0f1011121314151617",
                            "00112233445566778899aabbccddeeff", "dda97ca4864cdfe06eaf70a0ec0d7191"},
                    AesCase{"000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
                            "00112233445566778899aabbccddeeff",
                            "8ea2b7ca516745bfeafc49904b496089"}));

const std::string chainIv = "000102030405060708090a0b0c0d0e0f";
const std::string chainPlain = "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
                               "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710";

class AesChainedVectors : public testing::TestWithParam<AesCase> {};

TEST_P(AesChainedVectors, DecryptToThePlainText) {
    const AesCase& c = GetParam();
    const auto iv = hex(chainIv);
    auto data = hex(c.cipher);
    AesDecryption(hex(c.key))
        .decryptChained(std::span<const std::uint8_t, 16>(iv.data(), 16), data);
    EXPECT_EQ(hexOf(data), chainPlain);
}

TEST_P(AesChainedVectors, AWrongVectorSpoilsOnlyTheFirstBlock) {
    const AesCase& c = GetParam();
    auto iv = hex(chainIv);
    iv[0] ^= 0x80;
    auto data = hex(c.cipher);
    AesDecryption(hex(c.key))
        .decryptChained(std::span<const std::uint8_t, 16>(iv.data(), 16), data);
    const std::string text = hexOf(data);
    EXPECT_NE(text.substr(0, 32), chainPlain.substr(0, 32));
    EXPECT_EQ(text.substr(32), chainPlain.substr(32));
}

INSTANTIATE_TEST_SUITE_P(
    Sp800_38a, AesChainedVectors,
    testing::Values(AesCase{"2b7e151628aed2a6abf7158809cf4f3c", chainPlain,
                            "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
                            "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7"},
                    AesCase{"603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4",
                            chainPlain,
                            "f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
                            "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b"}));

TEST(Aes, RefusesKeysAndDataOfTheWrongSize) {
    EXPECT_THROW(AesDecryption(hex("00112233445566778899aabbccddee")), std::invalid_argument);
    EXPECT_THROW(AesDecryption(std::span<const std::uint8_t>()), std::invalid_argument);
    const AesDecryption aes(hex("000102030405060708090a0b0c0d0e0f"));
    auto partial = hex("00112233445566778899aabbccddeeff00");
    EXPECT_THROW(aes.decryptBlocks(partial), std::invalid_argument);
}

struct Rc4Case {
    std::string key;
    std::string plain;
    std::string cipher;
};

class Rc4Vectors : public testing::TestWithParam<Rc4Case> {};

TEST_P(Rc4Vectors, EncryptAndDecryptAlike) {
    const Rc4Case& c = GetParam();
    std::vector<std::uint8_t> data(c.plain.begin(), c.plain.end());
    rc4(ascii(c.key), data);
    EXPECT_EQ(hexOf(data), c.cipher);
    rc4(ascii(c.key), data);
    EXPECT_EQ(std::string(data.begin(), data.end()), c.plain);
    std::string wrongKey = c.key;
    wrongKey.back() ^= 1;
    rc4(ascii(wrongKey), data);
    EXPECT_NE(hexOf(data), c.cipher);
}

INSTANTIATE_TEST_SUITE_P(Published, Rc4Vectors,
                         testing::Values(Rc4Case{"Key", "Plaintext", "bbf316e8d940af0ad3"},
                                         Rc4Case{"Wiki", "pedia", "1021bf0420"},
                                         Rc4Case{"Secret", "Attack at dawn",
                                                 "45a01f645fc35b383552544b9bf5"}));

TEST(Rc4, RefusesAnEmptyOrOverlongKey) {
    std::vector<std::uint8_t> data(4);
    EXPECT_THROW(rc4({}, data), std::invalid_argument);
    const std::vector<std::uint8_t> overlong(257, 1);
    EXPECT_THROW(rc4(overlong, data), std::invalid_argument);
}

TEST(Secret, CopiesAreIndependentAndWipingEmpties) {
    Secret password("Test123");
    Secret copy = password;
    password.wipe();
    EXPECT_TRUE(password.empty());
    EXPECT_EQ(copy.text(), "Test123");
    Secret moved = std::move(copy);
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(moved.text(), "Test123");
    EXPECT_EQ(moved.prefix(4).text(), "Test");
    EXPECT_EQ(moved.prefix(99).text(), "Test123");
}

TEST(Secret, ComparesWholeContents) {
    EXPECT_EQ(Secret("1234"), Secret("1234"));
    EXPECT_FALSE(Secret("1234") == Secret("1235"));
    EXPECT_FALSE(Secret("1234") == Secret("12345"));
    EXPECT_EQ(Secret(), Secret(""));
}

} // namespace
