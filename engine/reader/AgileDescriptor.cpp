// The XML descriptor of Agile encryption, read with GLib's markup parser.
#include "engine/reader/OfficeEncryption.h"

#include <glib.h>

#include <charconv>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace quarix::engine {
namespace {

using Attributes = std::map<std::string, std::string>;

const std::string passwordEncryptorUri =
    "http://schemas.microsoft.com/office/2006/keyEncryptor/password";
// More rounds than Office itself allows would only stall the reader.
constexpr std::uint32_t maxHashRounds = 10'000'000;

struct Descriptor {
    std::optional<Attributes> keyData;
    std::vector<Attributes> passwordKeys;
    int otherEncryptors = 0;
    bool inPasswordEncryptor = false;
};

std::string localName(const char* name) {
    const std::string full(name);
    const auto colon = full.rfind(':');
    return colon == std::string::npos ? full : full.substr(colon + 1);
}

Attributes attributesOf(const gchar** names, const gchar** values) {
    Attributes attributes;
    for (std::size_t i = 0; names[i]; ++i)
        attributes[names[i]] = values[i];
    return attributes;
}

void startElement(GMarkupParseContext*, const gchar* element, const gchar** names,
                  const gchar** values, gpointer data, GError**) {
    auto& d = *static_cast<Descriptor*>(data);
    const std::string name = localName(element);
    if (name == "keyData" && !d.keyData) {
        d.keyData = attributesOf(names, values);
    } else if (name == "keyEncryptor") {
        const Attributes attributes = attributesOf(names, values);
        const auto uri = attributes.find("uri");
        d.inPasswordEncryptor = uri != attributes.end() && uri->second == passwordEncryptorUri;
        if (!d.inPasswordEncryptor)
            ++d.otherEncryptors;
    } else if (name == "encryptedKey" && d.inPasswordEncryptor) {
        d.passwordKeys.push_back(attributesOf(names, values));
    }
}

void endElement(GMarkupParseContext*, const gchar* element, gpointer data, GError**) {
    if (localName(element) == "keyEncryptor")
        static_cast<Descriptor*>(data)->inPasswordEncryptor = false;
}

bool parseXml(std::string_view xml, Descriptor& descriptor) {
    const GMarkupParser parser{&startElement, &endElement, nullptr, nullptr, nullptr};
    std::unique_ptr<GMarkupParseContext, void (*)(GMarkupParseContext*)> context(
        g_markup_parse_context_new(&parser, GMarkupParseFlags{}, &descriptor, nullptr),
        &g_markup_parse_context_free);
    GError* error = nullptr;
    const bool parsed = g_markup_parse_context_parse(context.get(), xml.data(),
                                                     static_cast<gssize>(xml.size()), &error) &&
                        g_markup_parse_context_end_parse(context.get(), &error);
    if (error)
        g_error_free(error);
    return parsed;
}

std::optional<std::uint32_t> number(const Attributes& a, const std::string& key) {
    const auto it = a.find(key);
    std::uint32_t value = 0;
    if (it == a.end())
        return std::nullopt;
    const char* end = it->second.data() + it->second.size();
    const auto [ptr, ec] = std::from_chars(it->second.data(), end, value);
    if (ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::string text(const Attributes& a, const std::string& key) {
    const auto it = a.find(key);
    return it == a.end() ? std::string() : it->second;
}

std::string base64(const Attributes& a, const std::string& key) {
    gsize length = 0;
    guchar* bytes = g_base64_decode(text(a, key).c_str(), &length);
    std::string out(reinterpret_cast<const char*>(bytes), length);
    g_free(bytes);
    return out;
}

std::optional<HashAlgorithm> hashNamed(const std::string& name) {
    if (name == "SHA1")
        return HashAlgorithm::Sha1;
    if (name == "SHA256")
        return HashAlgorithm::Sha256;
    if (name == "SHA384")
        return HashAlgorithm::Sha384;
    if (name == "SHA512")
        return HashAlgorithm::Sha512;
    return std::nullopt;
}

// An AES-CBC cipher of the descriptor, or why it cannot be read.
std::optional<AgileCipher> cipherOf(const Attributes& a, std::string& whyNot) {
    const std::string algorithm = text(a, "cipherAlgorithm");
    const auto hash = hashNamed(text(a, "hashAlgorithm"));
    if (algorithm != "AES") {
        whyNot = "Office Agile encryption with the " + algorithm + " cipher";
        return std::nullopt;
    }
    if (text(a, "cipherChaining") != "ChainingModeCBC") {
        whyNot = "Office Agile encryption with " + text(a, "cipherChaining");
        return std::nullopt;
    }
    if (!hash) {
        whyNot = "Office Agile encryption with the " + text(a, "hashAlgorithm") + " hash";
        return std::nullopt;
    }
    AgileCipher cipher;
    cipher.hash = *hash;
    const auto keyBits = number(a, "keyBits");
    const auto blockSize = number(a, "blockSize");
    cipher.salt = base64(a, "saltValue");
    if (!keyBits || (*keyBits != 128 && *keyBits != 192 && *keyBits != 256) || !blockSize ||
        *blockSize != 16 || cipher.salt.size() != 16) {
        whyNot = "a damaged Office encryption header";
        return std::nullopt;
    }
    cipher.keyBytes = *keyBits / 8;
    cipher.blockSize = *blockSize;
    return cipher;
}

bool wholeBlocks(const std::string& bytes, std::size_t atLeast) {
    return bytes.size() >= atLeast && bytes.size() % 16 == 0;
}

} // namespace

OfficeEncryption parseAgileDescriptor(std::string_view xml) {
    const OfficeEncryption damaged{UnreadableEncryption{}, "a damaged Office encryption header"};
    while (!xml.empty() && (xml.back() == '\0' || g_ascii_isspace(xml.back())))
        xml.remove_suffix(1);
    Descriptor descriptor;
    if (!parseXml(xml, descriptor) || !descriptor.keyData)
        return damaged;
    if (descriptor.passwordKeys.empty())
        return {UnreadableEncryption{}, descriptor.otherEncryptors > 0
                                            ? "Office Agile encryption with a certificate"
                                            : "a damaged Office encryption header"};

    std::string whyNot;
    const auto pages = cipherOf(*descriptor.keyData, whyNot);
    const Attributes& key = descriptor.passwordKeys.front();
    const auto password = pages ? cipherOf(key, whyNot) : std::nullopt;
    if (!pages || !password)
        return {UnreadableEncryption{}, whyNot};
    AgileEncryption form{*pages,
                         *password,
                         0,
                         base64(key, "encryptedVerifierHashInput"),
                         base64(key, "encryptedVerifierHashValue"),
                         base64(key, "encryptedKeyValue")};
    const auto rounds = number(key, "spinCount");
    if (!rounds || *rounds > maxHashRounds || !wholeBlocks(form.encryptedVerifierInput, 16) ||
        !wholeBlocks(form.encryptedVerifierValue, digestSize(password->hash)) ||
        !wholeBlocks(form.encryptedKey, pages->keyBytes))
        return damaged;
    form.hashRounds = *rounds;
    const std::string scheme = "Office Agile encryption (AES-" +
                               std::to_string(pages->keyBytes * 8) + ", " + hashName(pages->hash) +
                               ")";
    return {form, scheme};
}

} // namespace quarix::engine
