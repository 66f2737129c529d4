#pragma once

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace quarix::test {

// Copies a shop file so that its query `City Parameter` declares
// [Which City] a Long instead of Text: the parameter's row in MSysQueries
// (Attribute 2, then its Flag, 10 for Text) gets the Flag 4 where it lies.
inline void writeLongParameterCopy(const std::string& source, const std::string& target) {
    std::ifstream in(source, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::u16string name = u"Which City";
    const std::string utf16(reinterpret_cast<const char*>(name.data()), name.size() * 2);
    const std::string textFlag("\x02\x0a\x00", 3);
    bool patched = false;
    for (auto at = bytes.find(utf16); at != std::string::npos; at = bytes.find(utf16, at + 1)) {
        const auto flag = bytes.rfind(textFlag, at);
        if (flag != std::string::npos && at - flag < 40) {
            bytes[flag + 1] = '\x04';
            patched = true;
        }
    }
    if (!patched)
        throw std::runtime_error("no Text parameter 'Which City' in " + source);
    std::ofstream(target, std::ios::binary) << bytes;
}

} // namespace quarix::test
