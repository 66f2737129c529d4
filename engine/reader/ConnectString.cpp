#include "engine/reader/ConnectString.h"

#include <cctype>

namespace quarix::engine {
namespace {

bool isPasswordKey(const std::string& key) {
    std::string k;
    for (char c : key)
        if (c != ' ' && c != '\t')
            k += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return k == "PWD" || k == "PASSWORD";
}

} // namespace

std::string withoutPassword(const std::string& connect) {
    std::string out;
    std::size_t at = 0;
    while (at <= connect.size()) {
        std::size_t end = connect.find(';', at);
        if (end == std::string::npos)
            end = connect.size();
        std::string part = connect.substr(at, end - at);
        const std::size_t equals = part.find('=');
        // A braced value ({...}) may hold semicolons: it ends at its brace.
        if (equals != std::string::npos && equals + 1 < part.size() && part[equals + 1] == '{') {
            const std::size_t close = connect.find('}', at + equals + 1);
            if (close != std::string::npos) {
                end = connect.find(';', close);
                if (end == std::string::npos)
                    end = connect.size();
                part = connect.substr(at, end - at);
            }
        }
        if (equals != std::string::npos && isPasswordKey(part.substr(0, equals)))
            part = part.substr(0, equals + 1);
        out += part;
        if (end < connect.size())
            out += ';';
        at = end + 1;
    }
    return out;
}

} // namespace quarix::engine
