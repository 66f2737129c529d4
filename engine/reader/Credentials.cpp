#include "engine/reader/Credentials.h"

#include "engine/reader/OfficeEncryption.h"

#include <cstring>
#include <variant>

namespace quarix::engine {
namespace {

// Writes into a buffer sized beforehand, so the secret is never copied
// around while it grows.
class Writer {
public:
    explicit Writer(Secret& out) : p_(out.data()) {}
    void u8(std::uint8_t v) { *p_++ = v; }
    void u32(std::uint32_t v) {
        std::memcpy(p_, &v, 4);
        p_ += 4;
    }
    void bytes(std::span<const std::uint8_t> v) {
        u32(static_cast<std::uint32_t>(v.size()));
        if (!v.empty())
            std::memcpy(p_, v.data(), v.size());
        p_ += v.size();
    }

private:
    std::uint8_t* p_;
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}
    bool failed() const { return failed_; }
    bool atEnd() const { return in_.empty(); }
    std::uint8_t u8() {
        const auto b = take(1);
        return b.empty() ? 0 : b[0];
    }
    std::uint32_t u32() {
        const auto b = take(4);
        std::uint32_t v = 0;
        if (!b.empty())
            std::memcpy(&v, b.data(), 4);
        return v;
    }
    std::span<const std::uint8_t> bytes() { return take(u32()); }

private:
    std::span<const std::uint8_t> take(std::size_t n) {
        if (failed_ || n > in_.size()) {
            failed_ = true;
            return {};
        }
        const auto part = in_.first(n);
        in_ = in_.subspan(n);
        return part;
    }
    std::span<const std::uint8_t> in_;
    bool failed_ = false;
};

std::span<const std::uint8_t> bytesOf(const std::string& s) {
    return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

} // namespace

Credentials credentialsFor(const FileHeader& header, Secret password) {
    Credentials credentials{std::move(password), std::nullopt};
    if (header.format != FileFormat::Ace || header.encodingKey == 0 || credentials.empty())
        return credentials;
    const OfficeEncryption encryption = parseOfficeEncryption(header.encryptionInfo);
    const Secret office = officePassword(credentials.password);
    if (office.empty())
        return credentials;
    if (const auto* agile = std::get_if<AgileEncryption>(&encryption.form))
        credentials.hashed =
            hashPassword(agile->password.hash, agile->password.salt, agile->hashRounds, office);
    else if (const auto* binary = std::get_if<BinaryEncryption>(&encryption.form))
        credentials.hashed =
            hashPassword(HashAlgorithm::Sha1, binary->salt, binary->hashRounds, office);
    return credentials;
}

Secret encodeCredentials(const Credentials& c) {
    std::size_t size = 4 + c.password.size() + 1;
    if (c.hashed)
        size += 1 + 4 + 4 + c.hashed->salt.size() + 4 + c.hashed->value.size();
    Secret out = Secret::zeros(size);
    Writer w(out);
    w.bytes(c.password.bytes());
    w.u8(c.hashed ? 1 : 0);
    if (c.hashed) {
        w.u8(static_cast<std::uint8_t>(c.hashed->hash));
        w.u32(c.hashed->rounds);
        w.bytes(bytesOf(c.hashed->salt));
        w.bytes(c.hashed->value.bytes());
    }
    return out;
}

Credentials decodeCredentials(std::span<const std::uint8_t> bytes) {
    Reader r(bytes);
    Credentials c;
    c.password = Secret(r.bytes());
    if (r.u8() == 1) {
        HashedPassword hashed;
        const std::uint8_t hash = r.u8();
        hashed.hash = static_cast<HashAlgorithm>(hash);
        hashed.rounds = r.u32();
        const auto salt = r.bytes();
        hashed.salt.assign(salt.begin(), salt.end());
        hashed.value = Secret(r.bytes());
        if (hash <= static_cast<std::uint8_t>(HashAlgorithm::Sha512))
            c.hashed = std::move(hashed);
    }
    if (r.failed() || !r.atEnd())
        return {};
    return c;
}

} // namespace quarix::engine
