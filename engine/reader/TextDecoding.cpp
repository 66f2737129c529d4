#include "engine/reader/TextDecoding.h"

#include <iconv.h>

#include <cerrno>
#include <map>
#include <memory>
#include <string>

namespace quarix::engine {

namespace {

constexpr char32_t replacement = 0xfffd;

char* writeUtf8(char32_t c, char* p) {
    if (c < 0x80) {
        *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *p++ = static_cast<char>(0xc0 | (c >> 6));
        *p++ = static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        *p++ = static_cast<char>(0xe0 | (c >> 12));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        *p++ = static_cast<char>(0x80 | (c & 0x3f));
    } else {
        *p++ = static_cast<char>(0xf0 | (c >> 18));
        *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        *p++ = static_cast<char>(0x80 | (c & 0x3f));
    }
    return p;
}

// Writes UTF-16 units as UTF-8, joining surrogate pairs; a lone surrogate
// becomes U+FFFD.
class Utf16Writer {
public:
    explicit Utf16Writer(char* p) : p_(p) {}

    void unit(char16_t u) {
        if (u < 0x80 && high_ == 0) {
            *p_++ = static_cast<char>(u);
            return;
        }
        if (u >= 0xdc00 && u <= 0xdfff) {
            if (high_ != 0)
                p_ = writeUtf8(
                    0x10000 + ((char32_t(high_) - 0xd800) << 10) + (char32_t(u) - 0xdc00), p_);
            else
                p_ = writeUtf8(replacement, p_);
            high_ = 0;
            return;
        }
        flush();
        if (u >= 0xd800 && u <= 0xdbff)
            high_ = u;
        else
            p_ = writeUtf8(u, p_);
    }

    char* finish() {
        flush();
        return p_;
    }

private:
    void flush() {
        if (high_ != 0)
            p_ = writeUtf8(replacement, p_);
        high_ = 0;
    }

    char* p_;
    char16_t high_ = 0;
};

char16_t unitAt(const unsigned char* p) {
    return static_cast<char16_t>(p[0] | p[1] << 8);
}

void appendUtf8(char32_t c, std::string& out) {
    char buffer[4];
    out.append(buffer, static_cast<std::size_t>(writeUtf8(c, buffer) - buffer));
}

} // namespace

void appendUtf8FromAccessText(std::string_view raw, std::string& out) {
    // No input unit grows by more than half again: one byte gives at most two,
    // two give at most three, a surrogate pair's four give four.
    const std::size_t start = out.size();
    out.resize(start + raw.size() * 2 + 4);
    const auto* in = reinterpret_cast<const unsigned char*>(raw.data());
    const auto* end = in + raw.size();
    Utf16Writer writer(out.data() + start);
    if (raw.size() >= 2 && in[0] == 0xff && in[1] == 0xfe) {
        // Compressed: one-byte characters until a 0x00 switches to two-byte
        // units and back.
        bool compressed = true;
        in += 2;
        while (in < end) {
            if (*in == 0) {
                compressed = !compressed;
                ++in;
            } else if (compressed) {
                writer.unit(*in++);
            } else if (in + 1 < end) {
                writer.unit(unitAt(in));
                in += 2;
            } else {
                break;
            }
        }
    } else {
        for (; in + 1 < end; in += 2)
            writer.unit(unitAt(in));
    }
    out.resize(static_cast<std::size_t>(writer.finish() - out.data()));
}

void appendUtf8FromCodePage(std::string_view raw, std::uint16_t codePage, std::string& out) {
    // One converter per code page for the life of the helper process; never
    // destroyed, so none is lost while static objects are torn down at exit.
    static auto& converters = *new std::map<std::uint16_t, iconv_t>;
    auto it = converters.find(codePage);
    if (it == converters.end()) {
        const std::string name = "CP" + std::to_string(codePage == 0 ? 1252 : codePage);
        iconv_t cd = iconv_open("UTF-8", name.c_str());
        if (cd == reinterpret_cast<iconv_t>(-1))
            cd = iconv_open("UTF-8", "CP1252");
        it = converters.emplace(codePage, cd).first;
    }
    iconv_t cd = it->second;
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        for (char c : raw)
            appendUtf8(static_cast<std::uint8_t>(c), out);
        return;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    const std::size_t start = out.size();
    out.resize(start + raw.size() * 4 + 4);
    char* in = const_cast<char*>(raw.data());
    std::size_t inLeft = raw.size();
    char* dst = out.data() + start;
    std::size_t outLeft = out.size() - start;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1))
            break;
        if (errno != EILSEQ && errno != EINVAL)
            break;
        // A byte the code page does not define: show it as a replacement.
        ++in;
        --inLeft;
        char* const before = dst;
        dst = writeUtf8(replacement, dst);
        outLeft -= static_cast<std::size_t>(dst - before);
    }
    out.resize(static_cast<std::size_t>(dst - out.data()));
}

} // namespace quarix::engine
