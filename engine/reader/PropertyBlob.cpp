#include "engine/reader/PropertyBlob.h"

#include "engine/reader/TextDecoding.h"

#include <cstdint>
#include <vector>

namespace quarix::engine {
namespace {

constexpr std::uint16_t nameListBlock = 0x80;

std::uint32_t readU16(std::string_view b, std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[i]) |
                                      static_cast<std::uint8_t>(b[i + 1]) << 8);
}

std::uint32_t readU32(std::string_view b, std::size_t i) {
    return readU16(b, i) | readU16(b, i + 2) << 16;
}

std::string utf16Name(std::string_view raw) {
    std::string name;
    appendUtf8FromAccessText(raw, name);
    return name;
}

std::vector<std::string> readNames(std::string_view block) {
    std::vector<std::string> names;
    std::size_t pos = 0;
    while (pos + 2 <= block.size()) {
        const std::size_t length = readU16(block, pos);
        pos += 2;
        if (length > block.size() - pos)
            break;
        names.push_back(utf16Name(block.substr(pos, length)));
        pos += length;
    }
    return names;
}

std::int64_t littleEndianInteger(std::string_view value) {
    std::uint64_t v = 0;
    for (std::size_t i = value.size(); i-- > 0;)
        v = v << 8 | static_cast<std::uint8_t>(value[i]);
    return static_cast<std::int64_t>(v);
}

// A value block: the name of the object it describes, then records of
// (length, flags, data type, name index, value length, value).
void readValues(std::string_view block, const std::vector<std::string>& names,
                std::map<std::string, CalculatedColumnProperties>& result) {
    if (block.size() < 6)
        return;
    const std::size_t headerLength = readU32(block, 0);
    const std::size_t nameLength = readU16(block, 4);
    if (headerLength < 6 || headerLength > block.size() || nameLength > headerLength - 6)
        return;
    const std::string objectName = utf16Name(block.substr(6, nameLength));
    CalculatedColumnProperties props;
    bool hasExpression = false;
    std::size_t pos = headerLength;
    while (pos + 8 <= block.size()) {
        const std::size_t recordLength = readU16(block, pos);
        if (recordLength < 8 || recordLength > block.size() - pos)
            break;
        const std::uint32_t nameIndex = readU16(block, pos + 4);
        const std::size_t valueLength = readU16(block, pos + 6);
        if (valueLength <= recordLength - 8 && nameIndex < names.size()) {
            const std::string_view value = block.substr(pos + 8, valueLength);
            if (names[nameIndex] == "Expression") {
                props.expression = utf16Name(value);
                hasExpression = true;
            } else if (names[nameIndex] == "ResultType") {
                props.resultType = static_cast<int>(littleEndianInteger(value.substr(0, 4)));
            }
        }
        pos += recordLength;
    }
    if (hasExpression && !objectName.empty())
        result[objectName] = props;
}

} // namespace

std::map<std::string, CalculatedColumnProperties> parseCalculatedColumns(std::string_view blob) {
    std::map<std::string, CalculatedColumnProperties> result;
    if (blob.size() < 4 || blob.substr(0, 3) != "MR2")
        return result;
    std::vector<std::string> names;
    std::size_t pos = 4;
    while (pos + 6 <= blob.size()) {
        const std::size_t length = readU32(blob, pos);
        if (length < 6 || length > blob.size() - pos)
            break;
        const std::uint32_t type = readU16(blob, pos + 4);
        const std::string_view body = blob.substr(pos + 6, length - 6);
        if (type == nameListBlock)
            names = readNames(body);
        else if (type == 0 || type == 1)
            readValues(body, names, result);
        pos += length;
    }
    return result;
}

} // namespace quarix::engine
