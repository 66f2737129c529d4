#include "engine/reader/AttachmentContent.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

using quarix::engine::attachmentFileBytes;

namespace {

std::string u32(std::uint32_t v) {
    std::string s(4, '\0');
    std::memcpy(s.data(), &v, 4);
    return s;
}

// The inner content Access keeps: header length, a flag, the extension.
std::string content(const std::string& file) {
    const std::string extension("t\0x\0t\0\0\0", 8);
    return u32(20) + u32(1) + u32(4) + extension + file;
}

std::string deflated(const std::string& bytes) {
    uLongf size = compressBound(bytes.size());
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
    out.resize(size);
    return out;
}

const std::string kFile("a file\0with a zero byte", 23);

struct Case {
    const char* what;
    std::string stored;
    std::optional<std::string> file;
};

class AttachmentContent : public testing::TestWithParam<Case> {};

TEST_P(AttachmentContent, GivesTheExactFileOrNothing) {
    EXPECT_EQ(attachmentFileBytes(GetParam().stored), GetParam().file) << GetParam().what;
}

const std::string kInner = content(kFile);

INSTANTIATE_TEST_SUITE_P(
    Stored, AttachmentContent,
    testing::Values(
        Case{"deflated", u32(1) + u32(static_cast<std::uint32_t>(kInner.size())) + deflated(kInner),
             kFile},
        Case{"stored as is (a jpg, a zip)",
             u32(0) + u32(static_cast<std::uint32_t>(kInner.size())) + kInner, kFile},
        Case{"an empty file", u32(0) + u32(20) + content(""), std::string()},
        Case{"shorter than its header", u32(1), std::nullopt},
        Case{"unpacked length that does not match",
             u32(1) + u32(static_cast<std::uint32_t>(kInner.size() + 1)) + deflated(kInner),
             std::nullopt},
        Case{"a stream cut short",
             u32(1) + u32(static_cast<std::uint32_t>(kInner.size())) +
                 deflated(kInner).substr(0, 10),
             std::nullopt},
        Case{"not a zlib stream", u32(1) + u32(static_cast<std::uint32_t>(kInner.size())) + kInner,
             std::nullopt},
        Case{"an unknown kind", u32(7) + u32(static_cast<std::uint32_t>(kInner.size())) + kInner,
             std::nullopt},
        Case{"an inner header longer than the content",
             u32(0) + u32(12) + u32(4000) + u32(1) + u32(0), std::nullopt},
        Case{"a length beyond what Quarix unpacks", u32(1) + u32(0xffffffffu) + deflated(kInner),
             std::nullopt}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

} // namespace
